// JPEG encoding through libjpeg, with its errors turned into a result instead of an exit.
#include "report/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back to the caller.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf back;
    char text[JMSG_LENGTH_MAX];
};

[[noreturn]] void JumpBack(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->text);
    std::longjmp(error->back, 1);
}

}  // namespace

JpegResult EncodeJpeg(const unsigned char* rgb, int width, int height, std::size_t rowStride,
                      int quality) {
    JpegResult result;
    if (!rgb || width <= 0 || height <= 0 || rowStride < static_cast<std::size_t>(width) * 3) {
        result.message = "The picture is empty.";
        return result;
    }
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpBack;
    // libjpeg's memory destination keeps these up to date (it reallocates as the file grows);
    // their addresses escape, so they hold their latest values after a jump.
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (setjmp(error.back)) {
        jpeg_destroy_compress(&info);
        std::free(out);
        result.message = error.text;
        return result;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality < 1 ? 1 : (quality > 100 ? 100 : quality), TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + info.next_scanline * rowStride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    result.bytes.assign(reinterpret_cast<const char*>(out), size);
    jpeg_destroy_compress(&info);
    std::free(out);
    result.ok = true;
    return result;
}
