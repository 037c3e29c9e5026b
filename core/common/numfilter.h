#pragma once

#include <QString>

// Lets a typed number text through unchanged when it holds only digits, points and blanks;
// anything else becomes "0". An empty text stays empty. The form of the number is not judged
// ("1.2.3" and "1 000" pass), the caller's conversion decides that.
QString numfilter(const QString& text);
