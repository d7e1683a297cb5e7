// Stand-in customer barcode library: address number, the postal symbology of libzint, a 1-bit BMP.
#include "AddressNumber.h"
#include "DlbarckjApi.h"

#include <zint.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t MaxAddressBytes = 1024;
// Bar and space width, and a third of the long bar, in pixels.
constexpr int BarWidth = 2;
constexpr int HeightUnit = 4;

// Rows 0 (upper third) and 2 (lower third) of each bar; the middle third is always set.
struct Bar
{
    bool upper = false;
    bool lower = false;
};

bool Encode(const std::string& data, std::vector<Bar>& bars)
{
    std::unique_ptr<zint_symbol, void (*)(zint_symbol*)> symbol(ZBarcode_Create(), ZBarcode_Delete);
    if (!symbol)
        return false;
    symbol->symbology = BARCODE_JAPANPOST;
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
    if (ZBarcode_Encode(symbol.get(), bytes, int(data.size())) >= ZINT_ERROR || symbol->rows != 3)
        return false;
    const auto module = [&](int row, int column) {
        return ((symbol->encoded_data[row][column / 8] >> (column % 8)) & 1) != 0;
    };
    // Bars stand in the even columns, spaces in the odd ones.
    for (int column = 0; column < symbol->width; column += 2)
        bars.push_back({module(0, column), module(2, column)});
    return !bars.empty();
}

void PutLE(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += char((value >> (8 * i)) & 0xFF);
}

// A 1-bit BMP: palette 0 white, 1 black; dark(x, y) with y counted from the top.
template <typename Dark> bool WriteBmp(const char* path, int width, int height, Dark dark)
{
    const int stride = ((width + 31) / 32) * 4;
    const uint32_t offset = 14 + 40 + 8;
    const uint32_t imageSize = uint32_t(stride) * uint32_t(height);
    std::string out;
    out += "BM";
    PutLE(out, offset + imageSize, 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    PutLE(out, 40, 4);
    PutLE(out, uint32_t(width), 4);
    PutLE(out, uint32_t(height), 4);
    PutLE(out, 1, 2);
    PutLE(out, 1, 2);
    PutLE(out, 0, 4);
    PutLE(out, imageSize, 4);
    PutLE(out, 3780, 4); // 96 dpi
    PutLE(out, 3780, 4);
    PutLE(out, 2, 4);
    PutLE(out, 2, 4);
    PutLE(out, 0x00FFFFFF, 4);
    PutLE(out, 0x00000000, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::string row(size_t(stride), '\0');
        for (int x = 0; x < width; ++x)
            if (dark(x, y))
                row[size_t(x / 8)] = char(row[size_t(x / 8)] | (0x80 >> (x % 8)));
        out += row;
    }
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    const bool closed = std::fclose(file) == 0;
    if (!(written && closed))
        std::remove(path);
    return written && closed;
}

int Create(const char* postal, const char* address, int32_t vertical, char* work, const char* dicFolder,
           const char* bmpPath)
{
    if (!postal || !address || !work || !dicFolder || !bmpPath)
        return DlbarckjBadArgument;
    std::string digits;
    for (const char* p = postal; *p && digits.size() <= 8; ++p)
        if (*p != '-')
            digits += *p;
    if (digits.size() != 7 || digits.find_first_not_of("0123456789") != std::string::npos)
        return DlbarckjBadPostal;
    std::u32string text;
    if (!AddressMaster::Decode(AddressMaster::FieldText(address, MaxAddressBytes), text))
        return DlbarckjEmptyAddress;
    if (text.find_first_not_of(U" \u3000") == std::u32string::npos)
        return DlbarckjEmptyAddress;

    std::shared_ptr<const AddressMaster::Dictionary> dic;
    if (AddressMaster::Load(dicFolder, dic) != DIC_OK)
        dic.reset();
    const std::string number = Barcode::AddressNumber(dic.get(), digits, text);
    const std::string encoded = (digits + number).substr(0, BarcodeWorkSize - 1);
    std::memcpy(work, encoded.c_str(), encoded.size() + 1);

    std::vector<Bar> bars;
    if (!Encode(Barcode::SymbolData(digits, number), bars))
        return DlbarckjNotEncoded;
    const int length = int(bars.size()) * 2 * BarWidth - BarWidth;
    const int thickness = 3 * HeightUnit;
    // Along the barcode: position p from the start code; across: q from the upper edge.
    const auto dark = [&](int p, int q) {
        if ((p / BarWidth) % 2 != 0)
            return false;
        const Bar& bar = bars[size_t(p / (2 * BarWidth))];
        const int third = q / HeightUnit;
        return third == 1 || (third == 0 && bar.upper) || (third == 2 && bar.lower);
    };
    const bool written = vertical == 1 ? WriteBmp(bmpPath, thickness, length,
                                                  [&](int x, int y) { return dark(y, thickness - 1 - x); })
                                       : WriteBmp(bmpPath, length, thickness, dark);
    return written ? DlbarckjOk : DlbarckjWriteFailed;
}

} // namespace

DIC_EXPORT int CreateAdrsBar(const char* postal, const char* address, int32_t vertical, char* work,
                             const char* /*programFolder*/, const char* dicFolder, const char* bmpPath)
{
    try {
        return Create(postal, address, vertical, work, dicFolder, bmpPath);
    } catch (...) {
        return DlbarckjInternal;
    }
}
