// The program's texts are Windows-1252; Qt speaks Unicode. This is the one crossing.
#pragma once

#include <QString>
#include <cstddef>
#include <string_view>

namespace platform::qt {

QString FromCp1252(std::string_view text);
// Characters without a Windows-1252 byte become '?'. Returns the length written
// (at most size - 1, always terminated when size > 0).
std::size_t ToCp1252(const QString& text, char* buffer, std::size_t size);

}  // namespace platform::qt
