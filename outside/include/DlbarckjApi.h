// Boundary of the customer barcode library "Dlbarckj.dll": its entry point and result codes.
#pragma once

#include <cstdint>

constexpr int BarcodeWorkSize = 42;

// Result codes of the stand-in library (0 is success: the BMP file is written).
enum DlbarckjCode : int {
    DlbarckjOk = 0,
    DlbarckjBadArgument = 1,  // a null pointer
    DlbarckjBadPostal = 2,    // the postal code is not 7 digits
    DlbarckjEmptyAddress = 3, // the address is empty or does not decode
    DlbarckjNotEncoded = 4,   // the symbology refused the data
    DlbarckjWriteFailed = 5,  // the BMP file could not be written
    DlbarckjInternal = 9,     // an unexpected failure inside the library
};

extern "C" {
// postal, address: zero-terminated CP932; vertical: 1 turns the barcode a quarter clockwise; work:
// BarcodeWorkSize zero bytes, receiving the encoded characters (postal code and address number, at most 41
// bytes); programFolder, dicFolder: folders with a final separator; bmpPath: the 1-bit BMP file to write.
int CreateAdrsBar(const char* postal, const char* address, int32_t vertical, char* work,
                  const char* programFolder, const char* dicFolder, const char* bmpPath);
using CreateAdrsBarProc = int (*)(const char* postal, const char* address, int32_t vertical, char* work,
                                  const char* programFolder, const char* dicFolder, const char* bmpPath);
}
