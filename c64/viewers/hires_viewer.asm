; Shows a hires picture: screen at $0400, bitmap at $2000, video bank 0.
; The picture data follows this program: screen at $0900, bitmap at $0d00.

        .include "common.inc"

LoadedScreen = $0900
LoadedBitmap = $0d00

        #BasicStart "HIRES Displayer", Start
        .cerror * != $0821, "code must start right after the title"
Start
        sei
        lda #0
        sta VicBorder
        #CopyScreen LoadedScreen, $0400
        ; The bitmap's destination overlaps its source from above.
        #MovePagesDown LoadedBitmap, $2000, 32
        lda #$3b                ; bitmap mode, display on, 25 rows, scroll 3
        sta VicControl1
        lda #$03                ; video bank 0
        sta Cia2PortA
        lda #$c8                ; 40 columns, no multicolour
        sta VicControl2
        lda #$18                ; screen at +$0400, bitmap at +$2000
        sta VicMemory
-       jmp -

        #EndOfHeader LoadedScreen
