#include "ui/qt_text.h"

#include "ui/gbk_codec.h"

namespace pricelookup::ui {

QString to_qstring(std::string_view gbk) {
    const std::string utf8 = utf8_from_gbk(gbk);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string to_gbk(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return gbk_from_utf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace pricelookup::ui
