#pragma once

// Texts at the edge between the Windows-1252 model and Qt's Unicode widgets, and the
// font families the screens name, resolved to fonts with the same metrics.

#include <QFont>
#include <QString>
#include <optional>
#include <string>

namespace velmaro::qt {

QString ToQt(const std::string& cp1252);
// Characters Windows-1252 cannot hold become `replacement`.
std::string FromQt(const QString& text, char replacement = '?');
// The byte a typed character becomes, or nothing when Windows-1252 cannot hold it.
std::optional<char> TypedChar(QChar ch);
// A UTF-8 path as Qt takes it.
QString PathToQt(const std::string& utf8Path);

// "Courier New" is drawn with Liberation Mono, "Arial" and "MS Sans Serif" with
// Liberation Sans (same widths); other families are taken as they stand.
QString MapFontFamily(const std::string& family);
// The font of the windows: the sans-serif face at the size of the desktop's dialogs.
QFont WindowFont();

}  // namespace velmaro::qt
