// Bitmap files through cDIB, and the same bytes as a packed bitmap.
#include "index/cdib.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Reads every byte the object claims to hold, so that a size larger than
// its buffer shows.
unsigned touch(const vv::cDIB& dib)
{
    unsigned sum = 0;
    if (const std::uint8_t* bits = dib.PointerToBits())
        for (std::int32_t i = 0; i < dib.SizeImage(); ++i)
            sum += bits[i];
    if (const std::uint8_t* info = dib.PointerToBitmapInfo())
        for (std::int32_t i = 0; i < dib.SizeBitmapInfo(); ++i)
            sum += info[i];
    return sum + static_cast<unsigned>(dib.fileBytes().size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volatile unsigned sink = 0;
    vv::cDIB file;
    if (file.CreateFromFile(vv::fuzz::inputFile(data, size, QStringLiteral("0.bmp"))))
        sink = sink + touch(file);
    vv::cDIB packed;
    if (packed.CreateFromPackedDIBPointer(data, size))
        sink = sink + touch(packed);
    return 0;
}
