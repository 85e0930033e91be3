// kite's reading of the SDK ABI that a plug-in file records, over damaged
// copies of the test plug-in: each is refused with its line, and none
// crashes, hangs or is loaded on the strength of a note it lacks.
#include <Bridge/Engine.h>
#include <Bridge/SdkAbi.h>
#include <cstdint>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <link.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "V8TestEnvironment.h"
#include "plugins/PluginSet.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// Sets a word of every SDK note of the file (one per source file that
// included the header).
void SetNoteWords(Bytes& aFile, std::size_t uOffset, std::uint32_t uWord)
{
    const Bridge::CSdkAbiNote note = {Bridge::CSdkAbiNote::OWNER_SIZE, sizeof(std::uint32_t),
                                      Bridge::CSdkAbiNote::NOTE_TYPE, KITE_SDK_ABI_NOTE_OWNER, KITE_SDK_ABI};
    int iNotes = 0;
    for (std::size_t i = 0; i + sizeof note <= aFile.size(); ++i) {
        if (std::memcmp(&aFile[i], &note, sizeof note) == 0) {
            std::memcpy(&aFile[i + uOffset], &uWord, sizeof uWord);
            ++iNotes;
        }
    }
    EXPECT_GT(iNotes, 0) << "the test plug-in has no SDK note";
}

TEST(PluginAbiTest, DamagedFilesAreRefusedWithTheirLine)
{
    const std::string strOurs = std::to_string(KITE_SDK_ABI);
    const std::string strRebuild = "this kite has ABI " + strOurs + "; rebuild it against this SDK";
    const std::string strNoAbi = " records no kite SDK ABI, " + strRebuild;
    const struct {
        const char* pszDamage;
        std::function<void(Bytes&)> damage;
        // What follows "plug-in PATH" in the line.
        std::string strError;
        // No library of this machine's kind: the loader's reason follows
        // "cannot load plug-in PATH: ".
        bool bLoadFails;
    } aRows[] = {
        {"the note's type changed", [](Bytes& a) { SetNoteWords(a, offsetof(Bridge::CSdkAbiNote, m_uType), 2); },
         strNoAbi, false},
        {"the note's owner misspelt",
         [](Bytes& a) { SetNoteWords(a, offsetof(Bridge::CSdkAbiNote, m_szOwner), 0x6574696b); }, strNoAbi, false},
        {"the note's owner size past the segment",
         [](Bytes& a) { SetNoteWords(a, offsetof(Bridge::CSdkAbiNote, m_uOwnerSize), 0xFFFFFFF0u); }, strNoAbi,
         false},
        {"the note's ABI size past the segment",
         [](Bytes& a) { SetNoteWords(a, offsetof(Bridge::CSdkAbiNote, m_uAbiSize), 0xFFFFFFFFu); }, strNoAbi,
         false},
        {"the program headers past the end",
         [](Bytes& a) {
             const ElfW(Off) uPast = a.size() + 1;
             std::memcpy(&a[offsetof(ElfW(Ehdr), e_phoff)], &uPast, sizeof uPast);
         }, "", true},
        {"another ELF class", [](Bytes& a) { a[EI_CLASS] = a[EI_CLASS] == ELFCLASS64 ? ELFCLASS32 : ELFCLASS64; }, "",
         true},
        {"cut after the ELF header", [](Bytes& a) { a.resize(sizeof(ElfW(Ehdr))); }, "", true},
        {"cut inside the ELF header", [](Bytes& a) { a.resize(8); }, "", true},
        {"empty", [](Bytes& a) { a.clear(); }, "", true},
    };
    std::ifstream plugin(KITE_TEST_PLUGIN, std::ios::binary);
    const Bytes aPlugin((std::istreambuf_iterator<char>(plugin)), std::istreambuf_iterator<char>());
    ASSERT_GT(aPlugin.size(), sizeof(ElfW(Ehdr)));
    int iRow = 0;
    for (const auto& row : aRows) {
        // A path of its own: the loader would take a file it has loaded
        // before for that library again.
        const std::string strPath =
            testing::TempDir() + "kite-damaged-" + std::to_string(getpid()) + "-" + std::to_string(++iRow) + ".so";
        Bytes aFile = aPlugin;
        row.damage(aFile);
        std::ofstream(strPath, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(aFile.data()), static_cast<std::streamsize>(aFile.size()));
        std::string strError;
        {
            // Attached, so that a copy wrongly taken loads and fails the row.
            TestSupport::CFreshIsolate fresh;
            Kite::CPluginSet plugins;
            EXPECT_FALSE(plugins.Load(strPath, strError)) << row.pszDamage;
            Bridge::Engine::Detach();
        }
        unlink(strPath.c_str());
        if (row.bLoadFails)
            EXPECT_EQ(0u, strError.rfind("cannot load plug-in " + strPath + ": ", 0))
                << row.pszDamage << ": " << strError;
        else
            EXPECT_EQ("plug-in " + strPath + row.strError, strError) << row.pszDamage;
    }
}

}  // namespace
