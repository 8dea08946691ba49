// A word list from elsewhere read as KVTML: detection, preview, count and import end with
// a result; an import writes only whole records of fields a vocabulary file can hold, with
// the required fields filled, or nothing at all.

#include "ListFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    FuzzList(bytes, FuzzSettings(ListFormat::Kvtml, bytes));
    return 0;
}
