#pragma once
// The maker's error checks on FFmpeg calls, and the shared ownership types.

#include <stdexcept>
#include <string>

#include "app/libav.h"

namespace vvmaker::libav {

using namespace vv::libav;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws Failure("what (FFmpeg's reason)") when an FFmpeg call returned an error.
inline int check(int result, const std::string& what)
{
    if (result < 0)
        throw Failure(what + " (" + errorText(result) + ")");
    return result;
}

} // namespace vvmaker::libav
