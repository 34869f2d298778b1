#include "object_digest.h"

#include "md5.h"

namespace orvane {

std::string ObjectDigest(std::string_view text)
{
    MD5 md5;
    md5.Update(text.substr(0, kDigestTextLimit));
    md5.Finalize();
    return md5.HexDigest();
}

} // namespace orvane
