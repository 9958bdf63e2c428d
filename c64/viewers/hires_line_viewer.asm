; Shows a hires interlaced picture whose fields may use different colours:
; field 1 in video bank 1 (screen $5c00, bitmap $6000), field 2 in bank 3
; (screen $dc00, bitmap $e000). The line code switches the bank on every
; raster line and forces a colour fetch there, so neighbouring pixel rows show
; different fields; the next frame swaps them. The picture data follows this
; program: screen 1 at $0b00, bitmap 1 at $0f00, screen 2 at $2f00, bitmap 2
; at $3300.

        .include "common.inc"

        #BasicStart "Hires int Displayer 2", Start
        .cerror * != $0827, "header layout"
        .byte $01               ; not used
ReturnFromInterrupt
        rti                     ; NMI and reset land here
        .byte 0                 ; spare
Save    .byte 0, 0, 0           ; A, X and Y of the interrupted program
        .cerror * != $082d, "header layout"
Start
        sei
        lda #0
        sta VicBorder
        sta VicControl1         ; display off while setting up
        lda #$31                ; all RAM
        sta ProcessorPort
        #MovePagesUp $2f00, $dc00, 36
        #MovePagesDown $0b00, $5c00, 36
        ; Sprite block $6f is $5bc0 in bank 1 and $dbc0 in bank 3, just
        ; below each screen.
        #SolidSprites $6f, 7, 1, [$5c00, $dc00], [$5bc0, $dbc0]
        lda #$35                ; I/O visible
        sta ProcessorPort
        #SpriteColumn 8
        lda #$05                ; RAM under the KERNAL for the vectors
        sta ProcessorPort
        #BuildLineCode LineBlock, LineBlockSize, FinalGroup, FinalGroupSize
        #SetVectors ReturnFromInterrupt, FirstHandler
        lda #$03
        sta Cia2PortA
        lda #$3b
        sta VicControl1
        lda #$78                ; screen at +$1c00, bitmap at +$2000
        sta VicMemory
        #StartRasterInterrupt

        #RasterHandlers Save
        #WaitForPictureLine
        ; 58 cycles to the line code: see the FLI viewer. This loop leaves
        ; line $31 six cycles earlier than the FLI viewer's, and this line code
        ; stores D011 two cycles earlier in its group.
        .rept 24
        nop
        .next
        bit $00                 ; three cycles each
        bit $00
EvenLineBank = * + 1
        ldx #$02                ; bank 1, field 1
OddLineBank = * + 1
        ldy #$00                ; bank 3, field 2
        jsr LineCode
        lda #$78                ; an invalid mode, black below the picture
        sta VicControl1
        ; Swap the fields of even and odd lines for the next frame.
        lda EvenLineBank
        ldx OddLineBank
        sta OddLineBank
        stx EvenLineBank
        #EndRasterHandler Save, FirstHandler

; One cell row of line code, copied 25 times. Group g selects the video bank
; of X (g even) or Y (g odd) and sets vertical scroll g: the scroll matching
; the raster line forces a colour fetch from the new bank. Each group is
; padded to 18 cycles of its own; the colour fetch takes the rest of the line.
LineBlock
        .for g := 0, g < 8, g += 1
        .if g % 2 == 0
        stx Cia2PortA
        .else
        sty Cia2PortA
        .fi
        lda #$38 + g
        sta VicControl1
        .rept 4
        nop
        .next
        .next
LineBlockSize = * - LineBlock
FinalGroup
        rts
FinalGroupSize = * - FinalGroup

        #EndOfHeader LineCode
