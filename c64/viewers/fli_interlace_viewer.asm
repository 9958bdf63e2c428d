; Shows an FLI interlaced picture: field 1 in video bank 1 (banks at $4000 +
; r * $400, bitmap at $6000), field 2 in bank 3 (banks at $c000 + r * $400,
; bitmap at $e000), the video bank flipping every frame, field 1 first. The
; line code is the one of the FLI viewer. The picture data follows this
; program either as two whole fields (field 1 at $0b00, field 2 at $4b00) or,
; when the fields share one bitmap, as the banks of field 1 at $0b00, those
; of field 2 at $2b00 and the one bitmap at $4b00.

        .include "common.inc"

        #BasicStart "IAFLI Displayer", Start
        .cerror * != $0821, "header layout"
SharedBitmap
        .byte 0                 ; set by the program that writes the file
ReturnFromInterrupt
        rti                     ; NMI and reset land here
        .byte 0                 ; spare
Save    .byte 0, 0, 0           ; A, X and Y of the interrupted program
        .cerror * != $0827, "header layout"
Start
        sei
        lda #0
        sta VicBorder
        #SpriteColumn 5
        lda #$0b                ; display off while setting up
        sta VicControl1
        lda SharedBitmap
        bne MoveSharedBitmap
        lda #$33                ; writes under the ROMs land in RAM
        sta ProcessorPort
        ; Field 2 first: field 1's destination covers field 2's source.
        #MovePagesDown $4b00, $c000, 64
        #MovePagesDown $0b00, $4000, 64
        jmp Moved
MoveSharedBitmap
        lda #$31                ; all RAM: the bitmap is read back from under the KERNAL
        sta ProcessorPort
        #MovePagesDown $2b00, $c000, 64
        ; From the top down, one page of the bitmap back to field 1 and one
        ; page of field 1's banks into place.
        lda #0
        sta Source
        sta Destination
        sta Source2
        sta Destination2
        lda #$ff
        sta Source + 1
        lda #$7f
        sta Destination + 1
        lda #$2a
        sta Source2 + 1
        lda #$5f
        sta Destination2 + 1
        ldx #32
        ldy #0
-       lda (Source),y
        sta (Destination),y
        lda (Source2),y
        sta (Destination2),y
        iny
        bne -
        dec Source + 1
        dec Destination + 1
        dec Source2 + 1
        dec Destination2 + 1
        dex
        bne -
Moved
        ; Sprite block $fe is $7f80 in bank 1 and $ff80 in bank 3, in the
        ; bitmaps' spare tails.
        #SolidSprites $fe, 4, 8, [$4000, $c000], [$7f80, $ff80]
        #StartFliDisplay ReturnFromInterrupt

        #RasterHandlers Save
FieldBank = * + 1
        lda #$02                ; $02: bank 1, field 1; $00: bank 3, field 2
        sta Cia2PortA
        #WaitForPictureLine
        .rept 25
        nop
        .next
        jsr LineCode
        lda FieldBank
        eor #$02
        sta FieldBank
        #EndRasterHandler Save, FirstHandler

        #FliLineCode

        #EndOfHeader LineCode
