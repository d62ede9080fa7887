// The DLL as a COM server: what each form of regsvr32 writes and removes, as an installer runs
// it, and the band as a COM object created through that registration.
#include <windows.h>

#include <oleauto.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/ids.h"
#include "support/process.h"
#include "support/registry.h"
#include "support/stored_settings.h"

namespace windlock_test {
namespace {

void Regsvr(const std::wstring& switches) {
  ProcessResult result = Regsvr32(switches);
  ASSERT_EQ(0u, result.exit_code) << "regsvr32 " << Narrow(switches) << "\n" << result.output;
}

bool TypeLibraryRegistered() {
  ComPtr<ITypeLib> library;
  return LoadRegTypeLib(kTypeLibId, 1, 0, 0, library.Put()) == S_OK;
}

class RegistrationTest : public testing::Test {
 protected:
  void SetUp() override {
    RemoveRegistration();
    DeleteSettings();
  }
};

// Over a registration of another copy, as an update finds it.
TEST_F(RegistrationTest, RegisterPointsTheClassAtThisDllWithItsTypeLibrary) {
  WriteString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"",
              L"C:\\Old\\LKIEWindlock.dll");
  WriteString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Both");

  ASSERT_NO_FATAL_FAILURE(Regsvr(L"/s"));

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
  EXPECT_TRUE(TypeLibraryRegistered());
  // The Explorer Bar entry and the settings are DllInstall's, not DllRegisterServer's.
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

// The registered type library, as a script host finds it by its identifier: the band's coclass
// with the dispatch interface _IEBar as its default.
TEST_F(RegistrationTest, TypeLibraryDescribesTheBand) {
  ASSERT_NO_FATAL_FAILURE(Regsvr(L"/s"));
  ComPtr<ITypeLib> library;
  ASSERT_EQ(S_OK, LoadRegTypeLib(kTypeLibId, 1, 0, 0, library.Put()));
  ComPtr<ITypeInfo> band;
  ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(kBandClsid, band.Put()));
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(S_OK, band->GetTypeAttr(&attributes));
  EXPECT_EQ(TKIND_COCLASS, attributes->typekind);
  const WORD implemented = attributes->cImplTypes;
  band->ReleaseTypeAttr(attributes);
  ComPtr<ITypeInfo> default_interface;
  for (UINT i = 0; i < implemented; ++i) {
    INT flags = 0;
    HREFTYPE reference = 0;
    ASSERT_EQ(S_OK, band->GetImplTypeFlags(i, &flags));
    if (!(flags & IMPLTYPEFLAG_FDEFAULT) || (flags & IMPLTYPEFLAG_FSOURCE)) continue;
    ASSERT_EQ(S_OK, band->GetRefTypeOfImplType(i, &reference));
    ASSERT_EQ(S_OK, band->GetRefTypeInfo(reference, default_interface.Put()));
  }
  ASSERT_TRUE(default_interface) << "the coclass names no default interface";
  ASSERT_EQ(S_OK, default_interface->GetTypeAttr(&attributes));
  EXPECT_EQ(TKIND_DISPATCH, attributes->typekind);
  EXPECT_TRUE(IsEqualGUID(kBandDispInterface, attributes->guid));
  default_interface->ReleaseTypeAttr(attributes);
}

// Each row runs regsvr32 forms in turn on a clean machine with another Explorer Bar installed.
TEST_F(RegistrationTest, EachFormWritesAndRemovesItsOwnPart) {
  const struct {
    const char* name;
    std::vector<const wchar_t*> runs;
    bool server;
    bool explorer_bar;
    bool settings;
  } cases[] = {
      {"unregister", {L"/s", L"/s /u"}, false, false, false},
      {"install", {L"/s /i"}, true, true, true},
      {"uninstall keeps the settings", {L"/s /i", L"/s /u /i"}, false, false, true},
      // What the Active Setup entry runs for each user.
      {"the user's part", {L"/s /n /i:U"}, false, false, true},
  };
  const std::wstring other =
      std::wstring(kExplorerBarsKey) + L"\\{0B2C5E2A-44D1-4C55-9B3E-2F7A61D0C4E1}";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    WriteString(HKEY_LOCAL_MACHINE, other, L"BarSize", L"kept");
    for (const wchar_t* switches : c.runs) ASSERT_NO_FATAL_FAILURE(Regsvr(switches));

    EXPECT_EQ(c.server, KeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32"));
    EXPECT_EQ(c.server, TypeLibraryRegistered());
    EXPECT_EQ(c.explorer_bar, KeyExists(HKEY_CLASSES_ROOT, kCategoryKey));
    EXPECT_EQ(c.explorer_bar, KeyExists(HKEY_LOCAL_MACHINE, kBarKey));
    EXPECT_EQ(c.explorer_bar, KeyExists(HKEY_LOCAL_MACHINE, kActiveSetupKey));
    EXPECT_EQ(std::wstring(L"kept"), ReadString(HKEY_LOCAL_MACHINE, other, L"BarSize"));
    // Samples of the defaults, each of its own type, where the bar reads them.
    EXPECT_EQ(c.settings ? std::optional(DWORD{18}) : std::nullopt,
              ReadDword(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
    EXPECT_EQ(c.settings ? std::optional(std::wstring(L"Original")) : std::nullopt,
              ReadString(HKEY_CURRENT_USER, kOptionsKey, L"DefaultSkin"));
    EXPECT_EQ(c.settings ? std::optional(DWORD{0}) : std::nullopt,
              ReadDword(HKEY_CURRENT_USER, kTrustedSitesKey, L""));
    DeleteTree(HKEY_LOCAL_MACHINE, other);
  }
}

// Stored options, however few, are the user's: install fills in nothing (the user's part alone
// is the installer test's); a command line DllInstall does not know changes nothing and fails.
TEST_F(RegistrationTest, InstallAddsNothingToStoredOptions) {
  WriteString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message", L"Mine");

  ASSERT_NO_FATAL_FAILURE(Regsvr(L"/s /i"));

  EXPECT_EQ(std::wstring(L"Mine"),
            ReadString(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Message"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kOptionsKey, L"Popup Alert Font Size"));
  DeleteSettings();
  EXPECT_NE(0u, Regsvr32(L"/s /n /i:everyone").exit_code);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));
}

struct NamedIid {
  const char* name;
  IID iid;
};

class ComObjectTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { PrepareForBands(); }

  static ComPtr<IUnknown> CreateBand() {
    ComPtr<IUnknown> band;
    EXPECT_EQ(S_OK, CoCreateInstance(kBandClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                     band.PutVoid()));
    return band;
  }
};

// The exports regsvr32 and the COM runtime look up are the ones the other tests run through; a
// class object only for the band.
TEST_F(ComObjectTest, CreatedFromTheRegisteredDllWhichServesTheBandAlone) {
  ComPtr<IUnknown> band = CreateBand();
  ASSERT_TRUE(band);
  HMODULE module = GetModuleHandleW(kDllName);
  ASSERT_NE(nullptr, module);
  wchar_t path[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameW(module, path, MAX_PATH));
  EXPECT_TRUE(SamePath(DllPath(), path)) << Narrow(path);
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get_class_object = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  ASSERT_NE(nullptr, get_class_object);
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(S_OK, get_class_object(kBandClsid, IID_IClassFactory, factory.PutVoid()));
  EXPECT_TRUE(factory);
  void* other = &other;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
            get_class_object(CLSID_StdGlobalInterfaceTable, IID_IClassFactory, &other));
  EXPECT_EQ(nullptr, other);
}

TEST_F(ComObjectTest, EveryInterfaceLeadsToEveryOtherAndToOneIdentity) {
  const NamedIid interfaces[] = {
      {"IUnknown", IID_IUnknown},        {"IObjectWithSite", IID_IObjectWithSite},
      {"IDeskBand", IID_IDeskBand},      {"IDockingWindow", IID_IDockingWindow},
      {"IOleWindow", IID_IOleWindow},    {"IInputObject", IID_IInputObject},
      {"IContextMenu", IID_IContextMenu}};
  ComPtr<IUnknown> band = CreateBand();
  ASSERT_TRUE(band);
  IUnknown* identity = Identity(band.get());
  for (const NamedIid& from : interfaces) {
    ComPtr<IUnknown> start;
    ASSERT_EQ(S_OK, band->QueryInterface(from.iid, start.PutVoid())) << from.name;
    for (const NamedIid& to : interfaces) {
      ComPtr<IUnknown> reached;
      EXPECT_EQ(S_OK, start->QueryInterface(to.iid, reached.PutVoid())) << from.name << to.name;
      EXPECT_EQ(identity, Identity(reached.get())) << from.name << " to " << to.name;
    }
  }
}

TEST_F(ComObjectTest, OtherInterfacesAndAggregationAreRefused) {
  const NamedIid refused[] = {
      {"IClassFactory", IID_IClassFactory},
      {"IDeskBand2", IID_IDeskBand2},
      {"IPersistStream", IID_IPersistStream},
      {"IOleObject", IID_IOleObject},
      {"IInputObjectSite", IID_IInputObjectSite},
      {"IServiceProvider", IID_IServiceProvider},
      {"made up", {0x5F0B7E0C, 0x6E0B, 0x4F71, {0x9C, 0x55, 0x6A, 0x9E, 0x3C, 0x4B, 0x2D, 0x10}}},
  };
  ComPtr<IUnknown> band = CreateBand();
  ASSERT_TRUE(band);
  for (const NamedIid& refused_interface : refused) {
    void* object = &object;
    EXPECT_EQ(E_NOINTERFACE, band->QueryInterface(refused_interface.iid, &object))
        << refused_interface.name;
    EXPECT_EQ(nullptr, object) << refused_interface.name;
  }
  IUnknown* inner = reinterpret_cast<IUnknown*>(&inner);
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            CoCreateInstance(kBandClsid, band.get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&inner)));
  EXPECT_EQ(nullptr, inner);
}

// Each step changes what is alive, then asks DllCanUnloadNow.
TEST_F(ComObjectTest, CanUnloadOnlyWhenNoObjectOrLockIsLeft) {
  ComPtr<IUnknown> first = CreateBand();
  ComPtr<IUnknown> second = CreateBand();
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, CoGetClassObject(kBandClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   factory.PutVoid()));
  EXPECT_EQ(S_FALSE, LoadedDllCanUnloadNow()) << "two bands alive";
  first.Reset();
  EXPECT_EQ(S_FALSE, LoadedDllCanUnloadNow()) << "one band alive";
  EXPECT_EQ(S_OK, factory->LockServer(TRUE));
  second.Reset();
  factory.Reset();
  EXPECT_EQ(S_FALSE, LoadedDllCanUnloadNow()) << "the server locked";
  ASSERT_EQ(S_OK, CoGetClassObject(kBandClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   factory.PutVoid()));
  EXPECT_EQ(S_OK, factory->LockServer(FALSE));
  factory.Reset();
  EXPECT_EQ(S_OK, LoadedDllCanUnloadNow()) << "nothing left";
}

}  // namespace
}  // namespace windlock_test
