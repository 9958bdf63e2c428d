; Shows a hires interlaced picture whose two fields lie in video banks 0 and 1
; at the same offsets (screen +$0400, bitmap +$2000), flipping the bank once
; a frame. The picture data follows this program: screen 1 at $0900, bitmap 1
; at $0d00, screen 2 at $2d00, bitmap 2 at $3100.

        .include "common.inc"

LoadedScreen1 = $0900
LoadedBitmap1 = $0d00
LoadedScreen2 = $2d00
LoadedBitmap2 = $3100

        #BasicStart "HIRES int Displayer", Start
        .cerror * != $0825, "code must start right after the title"
Start
        sei
        lda #0
        sta VicBorder
        #CopyScreen LoadedScreen1, $0400
        ; Each move clears the source of a later one before that one lands on it.
        #MovePagesDown LoadedBitmap2, $6000, 32
        #MovePagesDown LoadedScreen2, $4400, 4
        #MovePagesDown LoadedBitmap1, $2000, 32
        lda #$3b                ; bitmap mode, display on, 25 rows, scroll 3
        sta VicControl1
        lda #$03                ; video bank 0: field 1
        sta Cia2PortA
        lda #$c8                ; 40 columns, no multicolour
        sta VicControl2
        lda #$18                ; screen at +$0400, bitmap at +$2000
        sta VicMemory
        ; Flip the bank below the picture, once a frame.
Flip    lda #$fa
-       cmp VicRaster
        bne -
        lda #$fc
-       cmp VicRaster
        bne -
        lda Cia2PortA
        eor #$01
        sta Cia2PortA
        jmp Flip

        #EndOfHeader LoadedScreen1
