#include "plugins/PluginAbi.h"

#include <Bridge/SdkAbi.h>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cxxabi.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <unistd.h>
#include <vector>

namespace Kite {

namespace {

// More than any library's notes; a larger note segment is not read.
const std::size_t MAX_NOTES_SIZE = 1 << 20;

enum ENotes { NOT_A_LIBRARY, NO_ABI, ABI_FOUND };

class CFile {
public:
    // Non-blocking, so that a FIFO fails to read rather than waits.
    explicit CFile(const std::string& strPath) : m_iFd(open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~CFile()
    {
        if (m_iFd >= 0)
            close(m_iFd);
    }
    bool ReadAt(std::uint64_t uOffset, void* pBuffer, std::size_t uSize) const
    {
        return m_iFd >= 0 && uOffset <= static_cast<std::uint64_t>(INT64_MAX) &&
               pread(m_iFd, pBuffer, uSize, static_cast<off_t>(uOffset)) == static_cast<ssize_t>(uSize);
    }

private:
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    int m_iFd;
};

std::size_t RoundUp(std::size_t uSize, std::size_t uAlign) { return (uSize + uAlign - 1) / uAlign * uAlign; }

// The ABI numbers of the SDK notes in one note segment's bytes; a note that
// runs past the end ends the walk.
void CollectAbis(const std::vector<unsigned char>& aNotes, std::size_t uAlign, std::vector<std::uint32_t>& aAbis)
{
    std::size_t uPos = 0;
    while (aNotes.size() - uPos >= 3 * sizeof(std::uint32_t)) {
        std::uint32_t aWords[3];  // owner size, description size, type
        std::memcpy(aWords, &aNotes[uPos], sizeof aWords);
        std::size_t uLeft = aNotes.size() - uPos - sizeof aWords;
        if (aWords[0] > uLeft || aWords[1] > uLeft || RoundUp(aWords[0], uAlign) + aWords[1] > uLeft)
            return;
        const unsigned char* pOwner = &aNotes[uPos + sizeof aWords];
        const unsigned char* pDescription = pOwner + RoundUp(aWords[0], uAlign);
        if (aWords[0] == Bridge::CSdkAbiNote::OWNER_SIZE && aWords[2] == Bridge::CSdkAbiNote::NOTE_TYPE &&
            aWords[1] == sizeof(std::uint32_t) &&
            std::memcmp(pOwner, KITE_SDK_ABI_NOTE_OWNER, Bridge::CSdkAbiNote::OWNER_SIZE) == 0) {
            std::uint32_t uAbi;
            std::memcpy(&uAbi, pDescription, sizeof uAbi);
            aAbis.push_back(uAbi);
        }
        uPos += sizeof aWords + RoundUp(aWords[0], uAlign) + RoundUp(aWords[1], uAlign);
        if (uPos > aNotes.size())
            return;
    }
}

// The SDK ABIs that the file's note segments record, where the loader
// finds notes: through the program headers, which stripping keeps.
ENotes ReadAbiNotes(const std::string& strPath, std::vector<std::uint32_t>& aAbis)
{
    const unsigned char NATIVE_CLASS = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    const unsigned char NATIVE_DATA = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;
    CFile file(strPath);
    ElfW(Ehdr) header;
    if (!file.ReadAt(0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != NATIVE_CLASS || header.e_ident[EI_DATA] != NATIVE_DATA ||
        header.e_phentsize != sizeof(ElfW(Phdr)))
        return NOT_A_LIBRARY;
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ElfW(Phdr) segment;
        if (!file.ReadAt(header.e_phoff + std::uint64_t{i} * sizeof segment, &segment, sizeof segment))
            return NOT_A_LIBRARY;
        if (segment.p_type != PT_NOTE || segment.p_filesz > MAX_NOTES_SIZE)
            continue;
        std::vector<unsigned char> aNotes(segment.p_filesz);
        if (!file.ReadAt(segment.p_offset, aNotes.data(), aNotes.size()))
            return NOT_A_LIBRARY;
        // Notes of an 8-aligned segment (GNU properties) are padded to 8.
        CollectAbis(aNotes, segment.p_align == 8 ? 8 : 4, aAbis);
    }
    return aAbis.empty() ? NO_ABI : ABI_FOUND;
}

}  // namespace

bool CheckPluginAbi(const std::string& strPath, std::string& strError)
{
    const std::string strOurs = std::to_string(KITE_SDK_ABI);
    std::vector<std::uint32_t> aAbis;
    switch (ReadAbiNotes(strPath, aAbis)) {
    case NOT_A_LIBRARY:
        return true;
    case NO_ABI:
        // Every plug-in built with this SDK records its ABI, the TV engine's
        // too; one that records none was built before the SDK did, against
        // a class layout this kite need not have, or is no plug-in at all.
        strError = "plug-in " + strPath + " records no kite SDK ABI, this kite has ABI " + strOurs +
                   "; rebuild it against this SDK";
        return false;
    case ABI_FOUND:
        break;
    }
    // Each file of the library records one; any that differs is refused.
    for (std::uint32_t uAbi : aAbis) {
        if (uAbi != static_cast<std::uint32_t>(KITE_SDK_ABI)) {
            strError = "plug-in " + strPath + " was built for kite SDK ABI " + std::to_string(uAbi) +
                       ", this kite has ABI " + strOurs + "; rebuild it against this SDK";
            return false;
        }
    }
    return true;
}

std::string DescribeLoadFailure(const char* pszReason)
{
    std::string strReason = pszReason != nullptr ? pszReason : "unknown error";
    const char* pszMarker = "undefined symbol: ";
    std::string::size_type uStart = strReason.find(pszMarker);
    if (uStart == std::string::npos)
        return strReason;
    uStart += std::strlen(pszMarker);
    // glibc may follow the name with ", version V".
    std::string::size_type uEnd = strReason.find_first_of(", \n", uStart);
    if (uEnd == std::string::npos)
        uEnd = strReason.size();
    int iStatus = 0;
    char* pszName = abi::__cxa_demangle(strReason.substr(uStart, uEnd - uStart).c_str(), nullptr, nullptr, &iStatus);
    if (iStatus == 0 && pszName != nullptr)
        strReason.replace(uStart, uEnd - uStart, pszName);
    std::free(pszName);
    return strReason;
}

}  // namespace Kite
