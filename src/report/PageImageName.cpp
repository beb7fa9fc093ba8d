// The file name under which a page picture is saved.
#include "report/PageImageName.h"

#include "dvh/FileNames.h"

PageImageFormat PageImageFormatOfFilter(int filterIndex) {
    switch (filterIndex) {
    case 1: return PageImageFormat::Bitmap;
    case 2: return PageImageFormat::Jpeg;
    default: return PageImageFormat::None;
    }
}

std::string PageImagePath(std::string_view chosenPath, PageImageFormat format) {
    switch (format) {
    case PageImageFormat::Bitmap: return ChangeFileExt(chosenPath, ".bmp");
    case PageImageFormat::Jpeg: return ChangeFileExt(chosenPath, ".jpg");
    case PageImageFormat::None: break;
    }
    return {};
}
