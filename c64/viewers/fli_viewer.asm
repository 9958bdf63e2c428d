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
        lda #$fe
        ldx #4
-       .for bank := 0, bank < 8, bank += 1
        sta $4000 + bank * $400 + $3f8,x
        .next
        dex
        bpl -
        lda #$ff
        ldx #63
-       sta $7f80,x
        dex
        bpl -
        #BuildLineCode LineBlock, LineBlockSize, FinalGroup, FinalGroupSize
        lda #$05                ; I/O visible, RAM under the KERNAL for the vectors
        sta ProcessorPort
        #SetVectors ReturnFromInterrupt, FirstHandler
        lda #$02                ; video bank 1
        sta Cia2PortA
        #StartRasterInterrupt

FirstHandler
        #FirstRasterHandler Save, SecondHandler
SecondHandler
        #SecondRasterHandler
        lda #$3b                ; display on before line $30 allows colour fetches
        sta VicControl1
        lda #$02
        sta Cia2PortA
        #WaitForPictureLine
        .rept 25
        nop
        .next
        jsr LineCode
        #EndRasterHandler Save, FirstHandler

; One cell row of line code, copied 25 times. Group g stores screen bank
; (g + 5) mod 8 and vertical scroll g: the scroll matching the raster line
; forces a colour fetch from that bank. The first picture line, $33, has
; scroll 3 and so shows bank 0; each group is padded to 18 cycles of its own,
; the colour fetch takes the rest of the raster line.
LineBlock
        .for g := 0, g < 8, g += 1
        lda #(((g + 5) & 7) << 4) | $08
        sta VicMemory
        lda #$38 + g
        sta VicControl1
        nop
        nop
        nop
        .next
LineBlockSize = * - LineBlock
; After the picture: an invalid mode, which shows black.
FinalGroup
        lda #$58
        sta VicMemory
        lda #$78
        sta VicControl1
        rts
FinalGroupSize = * - FinalGroup

        #EndOfHeader LineCode
