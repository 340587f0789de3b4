#include "qt_util.h"

#include <QLocale>
#include <cmath>
#include <cstdint>

namespace qmqt {

bool isTransparent(int rgb) {
    return rgb == VAL_TRANSPARENT || rgb < 0 || rgb > 0xFFFFFF;
}

QColor toColor(int rgb) {
    if (isTransparent(rgb)) return QColor(Qt::transparent);
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QString accessText(const std::string& label) {
    QString s = qs(label);
    s.replace(QLatin1String("&"), QLatin1String("&&"));
    s.replace(QLatin1String("__"), QLatin1String("&"));
    return s;
}

QString lineBreaks(const std::string& text) {
    QString s = qs(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

bool isIntegerType(ui::DataType type) {
    return type != ui::DataType::Double && type != ui::DataType::String;
}

QString formatNumber(const ui::Control& c, double value) {
    if (!std::isfinite(value)) return QString::number(value);
    if (c.format == VAL_HEX_FORMAT) {
        // Register words are shown as the 32-bit pattern the module holds, negative values included.
        const auto word = static_cast<uint32_t>(static_cast<int64_t>(std::llround(value)));
        return QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0')).toUpper();
    }
    if (isIntegerType(c.type)) return QString::number(static_cast<qlonglong>(std::llround(value)));
    const int precision = c.precision < 0 ? 0 : c.precision;
    if (c.format == VAL_SCIENTIFIC_FORMAT) return QString::number(value, 'e', precision);
    return QString::number(value, 'f', precision);
}

bool parseNumber(const ui::Control& c, const QString& text, double* value) {
    QString t = text.trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    if (c.format == VAL_HEX_FORMAT) {
        if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) t = t.mid(2);
        const qulonglong v = t.toULongLong(&ok, 16);
        if (!ok || v > 0xFFFFFFFFull) return false;
        // A signed register control reads the pattern back as the negative number it stands for.
        const bool isSigned = c.type == ui::DataType::Int || c.type == ui::DataType::Short;
        *value = isSigned ? static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)))
                          : static_cast<double>(v);
        return true;
    }
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

}  // namespace qmqt
