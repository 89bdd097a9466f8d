// The utility reaches both stand-in DLLs through their import libraries: these calls go
// through the real exports of VUVAVO.dll and dot1x_dll.dll.
#include <gtest/gtest.h>
#include <windows.h>

#include "adapter/AdapterLibrary.h"
#include "adapter/VuvavoApi.h"
#include "auth/Dot1xApi.h"

namespace {

TEST(LibraryImports, HexConversionsComeFromTheAdapterLibrary) {
    unsigned char bytes[4] = {};
    EXPECT_EQ(HexStrToBin("de ad BE", bytes, 4), 3);
    EXPECT_EQ(bytes[0], 0xDE);
    EXPECT_EQ(bytes[2], 0xBE);
    EXPECT_EQ(bytes[3], 0);
    char text[12];
    EXPECT_EQ(hx::ExportedAdapterLibrary().BinToHexStr(bytes, text, 4, 1), 11);
    EXPECT_STREQ(text, "DE AD BE 00");
}

TEST(LibraryImports, ExportsAreUndecoratedAndInTheDllsNamed) {
    HMODULE vuvavo = ::GetModuleHandleA("VUVAVO.dll");
    HMODULE dot1x = ::LoadLibraryA("dot1x_dll.dll");
    ASSERT_NE(vuvavo, nullptr);
    ASSERT_NE(dot1x, nullptr);
    for (const char* name : {"CreateNICAdapterList", "SetWL_WriteKey", "WriteOid", "QueryWL_CheckWZCStatus"})
        EXPECT_NE(::GetProcAddress(vuvavo, name), nullptr) << name;
    for (const char* name : {"do_eapol_init", "Get_PSK_Key_32byte", "do_key_negotiation_run", "genROOTCertFile"})
        EXPECT_NE(::GetProcAddress(dot1x, name), nullptr) << name;
    ::FreeLibrary(dot1x);
}

}  // namespace
