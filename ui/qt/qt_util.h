// Small conversions between the run-time's model values and Qt types.
#ifndef QM_UI_QT_QT_UTIL_H
#define QM_UI_QT_QT_UTIL_H

#include <QColor>
#include <QString>
#include <string>

#include "ui/model.h"

namespace qmqt {

// 0xRRGGBB (or VAL_TRANSPARENT) to a Qt colour.
QColor toColor(int rgb);
bool isTransparent(int rgb);

inline QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Resource labels mark the access letter with "__"; Qt marks it with "&" (and a literal "&" doubles).
QString accessText(const std::string& label);

// The run-time writes line breaks of graph titles as "\r" or "\r\n"; Qt wants "\n".
QString lineBreaks(const std::string& text);

// Text of a numeric control's value as the operator sees it (precision, hex, scientific, integers).
QString formatNumber(const ui::Control& c, double value);
// Parses what the operator typed into a numeric; false when it is not a number in the control's format.
bool parseNumber(const ui::Control& c, const QString& text, double* value);

bool isIntegerType(ui::DataType type);

}  // namespace qmqt

#endif
