; Shows a multicolour picture: screen at $0400, bitmap at $2000, video bank 0,
; the cells' third colours in the colour RAM and the background colour in
; D021. The picture data follows this program as the Koala file holds it:
; bitmap at $0900, screen at $2840, colour RAM nibbles at $2c28, background
; at $3010.

        .include "common.inc"

LoadedBitmap     = $0900
LoadedScreen     = LoadedBitmap + 8000
LoadedColourRam  = LoadedScreen + 1000
LoadedBackground = LoadedColourRam + 1000

        #BasicStart "MC Displayer", Start
Start
        sei
        lda #0
        sta VicBorder
        lda LoadedBackground
        sta VicBackground
        ; Screen and colour RAM first: the bitmap's move lands on them.
        #CopyScreen LoadedScreen, $0400
        #CopyScreen LoadedColourRam, ColourRam
        ; The bitmap's destination overlaps its source from above.
        #MovePagesDown LoadedBitmap, $2000, 32
        lda #$3b                ; bitmap mode, display on, 25 rows, scroll 3
        sta VicControl1
        lda #$03                ; video bank 0
        sta Cia2PortA
        lda #$d8                ; 40 columns, multicolour
        sta VicControl2
        lda #$18                ; screen at +$0400, bitmap at +$2000
        sta VicMemory
-       jmp -

        #EndOfHeader LoadedBitmap
