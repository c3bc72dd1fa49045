#pragma once

#include <initializer_list>
#include <string>

// A text of the window in the user's language (the English source when there is no translation),
// with %1, %2 ... replaced by the arguments in order; the product's 8-bit UTF-8 form. The context
// names the part of the window the text belongs to, as Qt's translations do.
class QLocale;

// Puts the window's texts and Qt's own (message box and file dialog buttons) in the first of the
// locale's languages that has a translation, in place of any installed before; English, the source,
// needs none. Returns true when the window's texts were found in that language.
bool installTranslations(const QLocale& locale);

std::string shellText(const char* context, const char* source, std::initializer_list<std::string> args = {});
