#include "tools/WinVokLibrary.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Feeds arbitrary bytes to the library reader and the conversion. Whatever they hold, the
// conversion ends with a result and writes only whole 400-byte records when it succeeds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView library(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const ConversionResult result = ConvertLibrary(library, out);
    if (result == ConversionResult::Converted && out.data().size() % 400 != 0)
        std::abort();
    return 0;
}
