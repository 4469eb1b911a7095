// Bitmap files through cDIB, and the same bytes as a packed bitmap.
#include "index/cdib.h"
#include "tests/fuzz/fuzz_input.h"

#include <numeric>

namespace {

// Reads every byte the object claims to hold, so that a size larger than
// its buffer shows.
unsigned touch(const vv::cDIB& dib)
{
    const auto sum = [](const std::uint8_t* bytes, std::int32_t size) {
        return bytes ? std::accumulate(bytes, bytes + size, 0u) : 0u;
    };
    return sum(dib.PointerToBits(), dib.SizeImage()) + sum(dib.PointerToBitmapInfo(), dib.SizeBitmapInfo())
           + static_cast<unsigned>(dib.fileBytes().size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    volatile unsigned sink = 0;
    vv::cDIB file, packed;
    if (file.CreateFromFile(vv::fuzz::inputFile(data, size, QStringLiteral("0.bmp"))))
        sink = sink + touch(file);
    if (packed.CreateFromPackedDIBPointer(data, size))
        sink = sink + touch(packed);
    return 0;
}
