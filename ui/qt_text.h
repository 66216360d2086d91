#pragma once

// The toolkit boundary for texts: the program's GBK bytes in and out of QString.

#include <QString>
#include <string>
#include <string_view>

namespace pricelookup::ui {

QString to_qstring(std::string_view gbk);
std::string to_gbk(const QString& text);

}  // namespace pricelookup::ui
