; Shows an FLI picture: eight screen banks at $4000 + r * $400, bitmap at
; $6000, video bank 1. On every raster line of the picture the line code
; selects the screen bank of that pixel row and forces the video chip to
; fetch colours again. The picture data follows this program: banks at
; $0b00 + r * $400, bitmap at $2b00.

        .include "common.inc"

        #BasicStart "AFLI Displayer", Start
        .cerror * != $0820, "header layout"
ReturnFromInterrupt
        rti                     ; NMI and reset land here
        .byte 0                 ; spare
Save    .byte 0, 0, 0           ; A, X and Y of the interrupted program
        .cerror * != $0825, "header layout"
Start
        sei
        lda #0
        sta VicBorder
        #SpriteColumn 5
        lda #$0b                ; display off while setting up
        sta VicControl1
        lda #$33
        sta ProcessorPort
        ; Banks and bitmap move up together; the destination overlaps the source.
        #MovePagesDown $0b00, $4000, 64
        ; Sprite block $fe of bank 1 is $7f80, in the bitmap's spare tail.
        #SolidSprites $fe, 4, 8, [$4000], [$7f80]
        #StartFliDisplay ReturnFromInterrupt

        #RasterHandlers Save
        lda #$02
        sta Cia2PortA
        #WaitForPictureLine
        ; The wait ends on cycle 8 of line $31 (cycles counted 0..62). After
        ; 25 NOPs, the JSR and sprite 0's fetch at the end of line $31, the
        ; first groups store D011 on line $32: scroll 0 and 1 do nothing
        ; there, scroll 2 on cycle 54 starts the display after the last
        ; character fetch, so the character counter stays at the picture's
        ; start. Every later group stores on cycle 13 of its own line, just
        ; after the point where a colour fetch would restart the cell's pixel
        ; rows: the rows go on, and the fetch misses only the three leftmost
        ; characters, under the sprite column.
        .rept 25
        nop
        .next
        jsr LineCode
        #EndRasterHandler Save, FirstHandler

        #FliLineCode

        #EndOfHeader LineCode
