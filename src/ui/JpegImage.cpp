#include "JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <jpeglib.h>

namespace korvath {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// jump back to the decoder and turn the message into a null image.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onFatalError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    std::longjmp(err->jump, 1);
}

void onWarning(j_common_ptr, int) {}

} // namespace

QImage decodeJpeg(const unsigned char* data, size_t size, std::string* error) {
    jpeg_decompress_struct info{};
    ErrorManager err{};
    info.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onFatalError;
    err.pub.emit_message = onWarning;
    // Everything touched after setjmp lives outside the jump's reach.
    QImage* volatile image = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        delete image;
        if (error) *error = err.message;
        return {};
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
#ifdef JCS_EXTENSIONS
    // Decode straight into QImage's 0xffRRGGBB layout.
    info.out_color_space = JCS_EXT_BGRX;
    const bool direct = true;
#else
    info.out_color_space = JCS_RGB;
    const bool direct = false;
#endif
    jpeg_start_decompress(&info);
    image = new QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                       QImage::Format_RGB32);
    std::vector<unsigned char> row(static_cast<size_t>(info.output_width) * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* line = image->scanLine(static_cast<int>(info.output_scanline));
        JSAMPROW target = direct ? line : row.data();
        jpeg_read_scanlines(&info, &target, 1);
        if (!direct) {
            auto* out = reinterpret_cast<QRgb*>(line);
            for (unsigned x = 0; x < info.output_width; ++x)
                out[x] = qRgb(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage result = *image;
    delete image;
    return result;
}

QImage loadJpeg(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open " + path;
        return {};
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    return decodeJpeg(bytes.data(), bytes.size(), error);
}

} // namespace korvath
