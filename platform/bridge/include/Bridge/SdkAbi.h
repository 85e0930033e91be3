// The SDK's ABI number, and the note through which every library built
// against these headers records it, as Node's module version does.
//
// The number changes whenever what a plug-in compiles into itself stops
// matching the engine library: a class's layout, a virtual function, inline
// code that reaches into the library. It is the engine library's soname
// number too (libkiteEngine.so.KITE_SDK_ABI). A host reads the note from
// the file before loading it, so a plug-in built for another ABI is refused
// before any of its code runs, and before its loader misses a symbol.
#ifndef BRIDGE_SDK_ABI_H
#define BRIDGE_SDK_ABI_H

#include <cstdint>

// Overridable only so that a test can build a plug-in of another ABI.
#ifndef KITE_SDK_ABI
#define KITE_SDK_ABI 2
#endif

// The note's owner, as readelf -n shows it.
#define KITE_SDK_ABI_NOTE_OWNER "Kite"

namespace Bridge {

// An ELF note: the owner, type NOTE_TYPE, and the ABI number as a 4-byte
// word of the target's byte order.
struct CSdkAbiNote {
    static const std::uint32_t NOTE_TYPE = 1;
    static const std::uint32_t OWNER_SIZE = sizeof(KITE_SDK_ABI_NOTE_OWNER);

    std::uint32_t m_uOwnerSize;
    std::uint32_t m_uAbiSize;
    std::uint32_t m_uType;
    char m_szOwner[(OWNER_SIZE + 3) / 4 * 4];
    std::uint32_t m_uAbi;
};

}  // namespace Bridge

namespace {

// One note per translation unit, all alike: the linker gathers them into
// the library's note segment, so the author writes nothing for it. Section
// names under ".note" are notes to the assembler; the sanitizers leave
// globals with a section of their own unpadded.
__attribute__((section(".note.kite.abi"), used, aligned(4))) const Bridge::CSdkAbiNote g_kiteSdkAbiNote = {
    Bridge::CSdkAbiNote::OWNER_SIZE, sizeof(std::uint32_t), Bridge::CSdkAbiNote::NOTE_TYPE, KITE_SDK_ABI_NOTE_OWNER,
    KITE_SDK_ABI};

}  // namespace

#endif
