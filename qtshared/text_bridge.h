// Text at the widget boundary: the engine's single-byte texts become Qt strings as
// Latin-1, and come back with every character Latin-1 cannot hold turned into "?".
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace qtshared {

/// A single-byte text as a Qt string (every byte is one character).
QString to_qt(std::string_view text);

/// A Qt string as single bytes; characters beyond Latin-1 become "?".
std::string from_qt(const QString& text);

/// An engine text for a widget that reads "&" as a shortcut marker (buttons, radio buttons,
/// check boxes, group titles): every "&" doubled, so the widget shows the text as written.
QString literal_caption(const QString& text);

/// The text editor's title as the engine means it: the engine writes "&&" for one "&" there.
QString editor_title(const QString& text);

/// A file name as the file system spells it, and back (file names are the file system's
/// bytes, not Latin-1 text).
QString path_to_qt(std::string_view path);
std::string path_from_qt(const QString& path);

/// The shortest general form of a value with at most 15 significant digits ("0.1", "1e-20",
/// "12345"); "0" for a value that is not finite.
QString general_number(double value);

/// The value shown with 3 decimals ("2.500"), or in exponent form with 7 significant digits
/// when it needs more than 7 digits before the point.
QString fixed_number(double value);

/// Reads a whole number from `text` (blanks around it allowed, locale-free); false when
/// the text is not a number or does not fit a double.
bool parse_real(const QString& text, double& value);

/// Reads a whole integer from `text` (blanks around it allowed); false when it is not an
/// integer or lies outside -32768..32767.
bool parse_int16(const QString& text, int& value);

}  // namespace qtshared
