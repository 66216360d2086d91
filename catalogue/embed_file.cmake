# Writes a C++ source that defines pricelookup::catalogue::embedded_product_file()
# as the bytes of INPUT. Run as: cmake -DINPUT=... -DOUTPUT=... -P embed_file.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT} at build time; do not edit.
#include \"catalogue/embedded_products.h\"

namespace pricelookup::catalogue {
namespace {
constexpr unsigned char bytes[] = {
${bytes}0x00};
}  // namespace

std::string_view embedded_product_file() {
    return {reinterpret_cast<const char*>(bytes), sizeof bytes - 1};
}

}  // namespace pricelookup::catalogue
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
