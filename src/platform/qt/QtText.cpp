#include "platform/qt/QtText.h"

#include <QList>

#include "storage/Cp1252.h"

namespace velmaro::qt {

QString ToQt(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string FromQt(const QString& text, char replacement) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (const char32_t cp : text.toUcs4()) {
        const auto byte = CodePointToCp1252(cp);
        out += byte ? static_cast<char>(*byte) : replacement;
    }
    return out;
}

std::optional<char> TypedChar(QChar ch) {
    if (ch.isSurrogate()) {
        return std::nullopt;
    }
    const auto byte = CodePointToCp1252(ch.unicode());
    if (!byte) {
        return std::nullopt;
    }
    return static_cast<char>(*byte);
}

QString PathToQt(const std::string& utf8Path) {
    return QString::fromUtf8(utf8Path.data(), static_cast<qsizetype>(utf8Path.size()));
}

QString MapFontFamily(const std::string& family) {
    if (family == "Courier New" || family == "Courier") {
        return QStringLiteral("Liberation Mono");
    }
    if (family.empty() || family == "Arial" || family == "MS Sans Serif" ||
        family == "Microsoft Sans Serif") {
        return QStringLiteral("Liberation Sans");
    }
    if (family == "Arial Narrow") {
        return QStringLiteral("Liberation Sans Narrow");
    }
    if (family == "Times New Roman") {
        return QStringLiteral("Liberation Serif");
    }
    return QString::fromStdString(Cp1252ToUtf8(family));
}

QFont WindowFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    return font;
}

}  // namespace velmaro::qt
