#pragma once

class QLineEdit;
class QSlider;

namespace pavona {

class UpDown;

// Number fields that the user types into. While the user types, the field is
// never rewritten: a lone minus sign, a partial number or an empty field stay
// as typed (rewriting "-" as "0" would turn "-50" into "50"). A whole number
// is taken as soon as it is typed. Return or leaving the field ends the
// typing, and the field then shows the value taken, within its range. Text
// the program writes into a field is taken at once, as it always was.

// A track bar's field: a typed whole number moves the track bar, which keeps
// it within its range.
void ConnectTrackBarField(QLineEdit* field, QSlider* trackBar);

// Writes a track bar's position into its field, unless the user is typing in
// it.
void ShowTrackBarPosition(QLineEdit* field, int position);

// A spinner's field: the conversion reads the text as typed; a typed whole
// number becomes the spinner's position, and Return or leaving the field
// shows that position within the spinner's range.
void ConnectSpinnerField(QLineEdit* field, UpDown* spinner);

}  // namespace pavona
