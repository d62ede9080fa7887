// regsvr32 on the DLL, as an installer runs it: what each form writes and removes.
#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/win32/com_ptr.h"
#include "support/dll_under_test.h"
#include "support/identity.h"
#include "support/ids.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

// What a dispatch interface may list without declaring anything of its own.
const std::set<std::wstring> kDispatchMembers = {
    L"QueryInterface", L"AddRef",        L"Release", L"GetTypeInfoCount",
    L"GetTypeInfo",    L"GetIDsOfNames", L"Invoke"};

class RegistrationTest : public testing::Test {
 protected:
  void SetUp() override {
    RemoveRegistration();
    DeleteSettings();
  }

  static void Run(const std::wstring& switches) {
    ProcessResult result = Regsvr32(switches);
    ASSERT_EQ(0u, result.exit_code) << "regsvr32 " << Narrow(switches) << "\n" << result.output;
  }

  static bool TypeLibraryRegistered() {
    ComPtr<ITypeLib> library;
    return LoadRegTypeLib(kTypeLibId, 1, 0, 0, library.Put()) == S_OK;
  }
};

TEST_F(RegistrationTest, RegisterWritesTheClassAndItsTypeLibrary) {
  ASSERT_NO_FATAL_FAILURE(Run(L"/s"));

  EXPECT_EQ(std::wstring(L"Larkspan"), ReadString(HKEY_CLASSES_ROOT, kClassKey, L""));
  std::optional<std::wstring> server =
      ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"");
  ASSERT_TRUE(server);
  EXPECT_TRUE(SamePath(DllPath(), *server)) << Narrow(*server);
  EXPECT_EQ(std::wstring(L"Apartment"),
            ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel"));
  std::optional<std::wstring> library =
      ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\TypeLib", L"");
  ASSERT_TRUE(library);
  EXPECT_TRUE(SamePath(kTypeLibIdText, *library)) << Narrow(*library);
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0"));
  EXPECT_TRUE(TypeLibraryRegistered());

  // The Explorer Bar entry and the settings are DllInstall's, not DllRegisterServer's.
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

TEST_F(RegistrationTest, RegisterOverAStaleRegistrationPointsAtThisDll) {
  WriteString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"",
              L"C:\\Program Files\\Old\\LKIEWindlock.dll");
  WriteString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Both");

  ASSERT_NO_FATAL_FAILURE(Run(L"/s"));

  std::optional<std::wstring> server =
      ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"");
  ASSERT_TRUE(server);
  EXPECT_TRUE(SamePath(DllPath(), *server)) << Narrow(*server);
  EXPECT_EQ(std::wstring(L"Apartment"),
            ReadString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel"));
}

TEST_F(RegistrationTest, TypeLibraryDescribesTheBand) {
  ASSERT_NO_FATAL_FAILURE(Run(L"/s"));
  ComPtr<ITypeLib> library;
  ASSERT_EQ(S_OK, LoadRegTypeLib(kTypeLibId, 1, 0, 0, library.Put()));

  BSTR name = nullptr;
  BSTR help = nullptr;
  ASSERT_EQ(S_OK, library->GetDocumentation(-1, &name, &help, nullptr, nullptr));
  EXPECT_STREQ(L"Windlock", name);
  EXPECT_STREQ(L"Larkspan Internet Explorer 5.0 Pop-Up Window Stopper", help);
  SysFreeString(name);
  SysFreeString(help);

  ComPtr<ITypeInfo> band;
  ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(kBandClsid, band.Put()));
  TYPEATTR* band_attributes = nullptr;
  ASSERT_EQ(S_OK, band->GetTypeAttr(&band_attributes));
  EXPECT_EQ(TKIND_COCLASS, band_attributes->typekind);
  const WORD implemented = band_attributes->cImplTypes;
  band->ReleaseTypeAttr(band_attributes);
  ASSERT_EQ(S_OK, band->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
  EXPECT_STREQ(L"IEBar", name);
  SysFreeString(name);

  // The default interface: the dispatch interface _IEBar, with nothing beyond IDispatch's own.
  ComPtr<ITypeInfo> default_interface;
  for (UINT i = 0; i < implemented; ++i) {
    INT flags = 0;
    ASSERT_EQ(S_OK, band->GetImplTypeFlags(i, &flags));
    if (!(flags & IMPLTYPEFLAG_FDEFAULT) || (flags & IMPLTYPEFLAG_FSOURCE)) continue;
    HREFTYPE reference = 0;
    ASSERT_EQ(S_OK, band->GetRefTypeOfImplType(i, &reference));
    ASSERT_EQ(S_OK, band->GetRefTypeInfo(reference, default_interface.Put()));
  }
  ASSERT_TRUE(default_interface) << "IEBar names no default interface";
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, default_interface->GetTypeAttr(&attributes));
  EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
  EXPECT_TRUE(IsEqualGUID(kBandDispInterface, attributes->guid));
  const WORD functions = attributes->cFuncs;
  default_interface->ReleaseTypeAttr(attributes);
  ASSERT_EQ(S_OK,
            default_interface->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
  EXPECT_STREQ(L"_IEBar", name);
  SysFreeString(name);
  for (UINT i = 0; i < functions; ++i) {
    FUNCDESC* function = nullptr;
    ASSERT_EQ(S_OK, default_interface->GetFuncDesc(i, &function));
    BSTR member = nullptr;
    default_interface->GetDocumentation(function->memid, &member, nullptr, nullptr, nullptr);
    default_interface->ReleaseFuncDesc(function);
    const std::wstring text = member ? member : L"";
    SysFreeString(member);
    EXPECT_TRUE(kDispatchMembers.contains(text))
        << "_IEBar has a member of its own: " << Narrow(text);
  }
}

TEST_F(RegistrationTest, UnregisterRemovesTheClassAndItsTypeLibrary) {
  ASSERT_NO_FATAL_FAILURE(Run(L"/s"));
  ASSERT_NO_FATAL_FAILURE(Run(L"/s /u"));

  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0"));
  EXPECT_FALSE(TypeLibraryRegistered());
}

TEST_F(RegistrationTest, InstallAddsTheExplorerBarAndDefaultSettings) {
  ASSERT_NO_FATAL_FAILURE(Run(L"/s /i"));

  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32"));
  EXPECT_TRUE(TypeLibraryRegistered());
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
  // Two samples; every default is read back in the settings tests.
  EXPECT_EQ(DWORD{18}, ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
  EXPECT_EQ(std::wstring(L"Original"), ReadString(HKEY_CURRENT_USER, kOptionsKey, L"DefaultSkin"));
}

TEST_F(RegistrationTest, UninstallRemovesTheBarButKeepsTheSettings) {
  ASSERT_NO_FATAL_FAILURE(Run(L"/s /i"));
  ASSERT_NO_FATAL_FAILURE(Run(L"/s /u /i"));

  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
  EXPECT_FALSE(TypeLibraryRegistered());
  EXPECT_EQ(DWORD{18}, ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
  EXPECT_EQ(DWORD{0}, ReadDword(HKEY_CURRENT_USER, kTrustedSitesKey, L""));
}

TEST_F(RegistrationTest, UninstallLeavesOtherExplorerBarsAlone) {
  const std::wstring other =
      std::wstring(kExplorerBarsKey) + L"\\{0B2C5E2A-44D1-4C55-9B3E-2F7A61D0C4E1}";
  WriteString(HKEY_LOCAL_MACHINE, other, L"BarSize", L"kept");

  ASSERT_NO_FATAL_FAILURE(Run(L"/s /i"));
  ASSERT_NO_FATAL_FAILURE(Run(L"/s /u /i"));

  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
  EXPECT_EQ(std::wstring(L"kept"), ReadString(HKEY_LOCAL_MACHINE, other, L"BarSize"));
  DeleteTree(HKEY_LOCAL_MACHINE, other);
}

TEST_F(RegistrationTest, InstallKeepsTheSettingsAUserHas) {
  StoredSettings mine = QuietSettings();
  mine.Set(L"Popup Alert Message", L"Mine").Set(L"Popup Alert Font Size", DWORD{30});
  mine.trusted_sites = {L"trust:a.example"};
  StoreSettings(mine);

  ASSERT_NO_FATAL_FAILURE(Run(L"/s /i"));

  EXPECT_EQ(std::wstring(L"Mine"),
            ReadString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message"));
  EXPECT_EQ(DWORD{30}, ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
  // Defaults would show the capture alert.
  EXPECT_EQ(DWORD{0}, ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Show Visual Capture"));
  EXPECT_EQ(DWORD{1}, ReadDword(HKEY_CURRENT_USER, kTrustedSitesKey, L""));
  EXPECT_EQ(std::wstring(L"trust:a.example"),
            ReadString(HKEY_CURRENT_USER, kTrustedSitesKey, L"site0"));
}

// Stored options, however few, are the user's: install fills in nothing.
TEST_F(RegistrationTest, InstallAddsNothingToPartlyStoredOptions) {
  WriteString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message", L"Mine");

  ASSERT_NO_FATAL_FAILURE(Run(L"/s /i"));

  EXPECT_EQ(std::wstring(L"Mine"),
            ReadString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
}

}  // namespace
}  // namespace windlock_test
