; Shows a multicolour FLI picture: eight screen banks at $4000 + r * $400,
; bitmap at $6000, video bank 1, the cells' third colours in the colour RAM
; and a black background. The raster code is the FLI viewer's, with the video
; chip in multicolour mode: on every line of the picture it selects the screen
; bank of that pixel row and forces a colour fetch (the colour RAM is fetched
; with it and stays the same). The picture data follows this program as the
; FLI Graph file holds it: colour RAM nibbles at $0b00, banks at $0f00 + r *
; $400, bitmap at $2f00.

        .include "common.inc"

LoadedColourRam = $0b00
LoadedBanks     = $0f00

        #BasicStart "MC FLI Displayer", Start
        .cerror * != $0822, "header layout"
ReturnFromInterrupt
        rti                     ; NMI and reset land here
        .byte 0                 ; spare
Save    .byte 0, 0, 0           ; A, X and Y of the interrupted program
        .cerror * != $0827, "header layout"
Start
        sei
        lda #0
        sta VicBorder
        sta VicBackground
        #SpriteColumn 5
        lda #$0b                ; display off while setting up
        sta VicControl1
        lda #$d8                ; 40 columns, multicolour
        sta VicControl2
        ; The colour RAM before the line code is built over its source.
        #CopyScreen LoadedColourRam, ColourRam
        ; Banks and bitmap move up together; the destination overlaps the source.
        #MovePagesDown LoadedBanks, $4000, 64
        ; Sprite block $fe of bank 1 is $7f80, in the bitmap's spare tail.
        #SolidSprites $fe, 4, 8, [$4000], [$7f80]
        #StartFliDisplay ReturnFromInterrupt

        #RasterHandlers Save
        lda #$02
        sta Cia2PortA
        #WaitForPictureLine
        ; The same lead-in as the FLI viewer's, so the line code stores D011
        ; on cycle 13 of each picture line: see there.
        .rept 25
        nop
        .next
        jsr LineCode
        #EndRasterHandler Save, FirstHandler

        #FliLineCode

        #EndOfHeader LineCode
