#pragma once

class QLineEdit;

// A field that shows a value the user cannot change: it takes the style's read-only look (the
// window's background instead of the typing one), keeps its text readable, and Tab passes over
// it; a click still selects its text for copying.
void showOnly(QLineEdit* field);
