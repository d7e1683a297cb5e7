// Byte limits on leaving, text selection on entry and input-method modes of the address book's edits.
#pragma once

class QLineEdit;
class QWidget;

// Leaving the edit cuts its text to maxBytes CP932 bytes, never inside a double-byte character.
void CutOnLeave(QLineEdit* edit, int maxBytes);

// Entering the edit by Tab leaves its text unselected (the caret stays where it was).
void NoAutoSelect(QLineEdit* edit);

// Input-method modes of edits: 6 hiragana, 8 katakana, 5 full-width alphanumeric, 7 half-width katakana,
// 1 closed. The mode is kept in the "ImeMode" property for the input method; closed turns input methods off.
enum TImeMode { imClose = 1, imAlpha = 5, imHira = 6, imSKata = 7, imKata = 8 };
void SetImeMode(QWidget* control, int mode);
int ImeModeOf(const QWidget* control);
