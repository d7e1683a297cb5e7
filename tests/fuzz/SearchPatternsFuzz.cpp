// Fuzz target: the "Search.ptn" pattern reader; the patterns it reads write back and read back the same.
#include "FuzzSupport.h"

#include "addressbook/AdrsSch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<TSearchPattern> patterns = DecodeSearchPatterns(Fuzz::Bytes(data, size));
    Fuzz::Check(patterns.size() <= MaxSearchPatterns);
    const std::optional<QByteArray> written = EncodeSearchPatterns(patterns);
    if (!written)
        return 0;
    Fuzz::Check(DecodeSearchPatterns(*written) == patterns);
    return 0;
}
