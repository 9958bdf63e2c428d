; Shows a multicolour interlaced picture whose two pictures lie in video banks
; 0 and 1 at the same offsets (screen +$0400, bitmap +$2000) and share the
; colour RAM and the background colour. Once a frame it flips the bank and
; the horizontal scroll together: picture 1 with scroll 0, picture 2 with
; scroll 1, one hires pixel to the right, so that the two pictures' wide
; pixels overlap by half and mix into twice the resolution. The picture data
; follows this program as the True Paint file holds it: screen 1 at $0900,
; background at $0ce8, bitmap 1 at $0d00, bitmap 2 at $2d00, screen 2 at
; $4d00, colour RAM nibbles at $5100.

        .include "common.inc"

LoadedScreen1    = $0900
LoadedBackground = LoadedScreen1 + 1000
LoadedBitmap1    = $0d00
LoadedBitmap2    = $2d00
LoadedScreen2    = $4d00
LoadedColourRam  = $5100

Picture1Scroll   = $d8          ; 40 columns, multicolour, horizontal scroll 0
Picture2Scroll   = $d9          ; the same, scroll 1

        #BasicStart "MC int Displayer", Start
Start
        sei
        lda #0
        sta VicBorder
        lda LoadedBackground
        sta VicBackground
        #CopyScreen LoadedColourRam, ColourRam
        ; Each move clears the source of a later one before that one lands on it.
        #MovePagesDown LoadedBitmap2, $6000, 32
        #CopyScreen LoadedScreen2, $4400
        #CopyScreen LoadedScreen1, $0400
        #MovePagesDown LoadedBitmap1, $2000, 32
        lda #$3b                ; bitmap mode, display on, 25 rows, scroll 3
        sta VicControl1
        lda #$03                ; video bank 0: picture 1
        sta Cia2PortA
        lda #Picture1Scroll
        sta VicControl2
        lda #$18                ; screen at +$0400, bitmap at +$2000
        sta VicMemory
        ; Flip bank and scroll below the picture, once a frame.
Flip    lda #$fa
-       cmp VicRaster
        bne -
        lda #$fc
-       cmp VicRaster
        bne -
        lda Cia2PortA
        eor #$01
        sta Cia2PortA
        lda VicControl2
        eor #Picture1Scroll ^ Picture2Scroll
        sta VicControl2
        jmp Flip

        #EndOfHeader LoadedScreen1
