// The file name under which a page picture is saved.
#pragma once

#include <string>
#include <string_view>

/// The two kinds of page picture, numbered as the save dialog's filters.
enum class PageImageFormat { None = 0, Bitmap = 1, Jpeg = 2 };

/// The format of save-dialog filter `filterIndex` (1 bitmap, 2 JPEG, anything else none).
PageImageFormat PageImageFormatOfFilter(int filterIndex);

/// Where a page picture chosen as `chosenPath` is written: the same folder and name with the
/// extension of `format` (".bmp", ".jpg") in place of its own, or appended when it has none.
/// "" for `PageImageFormat::None`.
std::string PageImagePath(std::string_view chosenPath, PageImageFormat format);
