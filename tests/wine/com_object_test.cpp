// The band as a COM object: created through the registry, its interfaces, its class factory and
// the DLL's answer to whether it may be unloaded.
#include <windows.h>

#include <ocidl.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/com_ptr.h"
#include "support/band_host.h"
#include "support/dll_under_test.h"
#include "support/identity.h"
#include "support/ids.h"
#include "support/registry.h"

namespace windlock_test {
namespace {

struct NamedIid {
  const char* name;
  IID iid;
};

const std::vector<NamedIid> kBandInterfaces = {
    {"IUnknown", IID_IUnknown},         {"IObjectWithSite", IID_IObjectWithSite},
    {"IDeskBand", IID_IDeskBand},       {"IDockingWindow", IID_IDockingWindow},
    {"IOleWindow", IID_IOleWindow},     {"IInputObject", IID_IInputObject},
    {"IContextMenu", IID_IContextMenu},
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

  // An export of the DLL under test, from the copy COM loaded.
  template <typename Function>
  static Function Export(const char* name) {
    HMODULE module = GetModuleHandleW(kDllName);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
};

TEST_F(ComObjectTest, CreatedFromTheRegisteredDll) {
  ComPtr<IUnknown> band = CreateBand();
  ASSERT_TRUE(band);
  HMODULE module = GetModuleHandleW(kDllName);
  ASSERT_NE(nullptr, module);
  wchar_t path[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameW(module, path, MAX_PATH));
  EXPECT_TRUE(SamePath(DllPath(), path)) << Narrow(path);
}

TEST_F(ComObjectTest, ExportsTheServerEntryPointsUndecorated) {
  ComPtr<IUnknown> band = CreateBand();
  for (const char* name : {"DllRegisterServer", "DllUnregisterServer", "DllGetClassObject",
                           "DllCanUnloadNow", "DllInstall"}) {
    EXPECT_NE(nullptr, Export<FARPROC>(name)) << name;
  }
}

TEST_F(ComObjectTest, EveryInterfaceLeadsToEveryOtherAndToOneIdentity) {
  ComPtr<IUnknown> band = CreateBand();
  ASSERT_TRUE(band);
  IUnknown* identity = Identity(band.get());
  for (const NamedIid& from : kBandInterfaces) {
    SCOPED_TRACE(from.name);
    ComPtr<IUnknown> start;
    ASSERT_EQ(S_OK, band->QueryInterface(from.iid, start.PutVoid()));
    EXPECT_EQ(identity, Identity(start.get()));
    for (const NamedIid& to : kBandInterfaces) {
      SCOPED_TRACE(to.name);
      ComPtr<IUnknown> reached;
      EXPECT_EQ(S_OK, start->QueryInterface(to.iid, reached.PutVoid()));
      EXPECT_TRUE(reached);
      EXPECT_EQ(identity, Identity(reached.get()));
    }
  }
}

TEST_F(ComObjectTest, OtherInterfacesAreRefused) {
  // {5F0B7E0C-6E0B-4F71-9C55-6A9E3C4B2D10}: an interface nobody implements.
  const IID kUnknownInterface = {
      0x5F0B7E0C, 0x6E0B, 0x4F71, {0x9C, 0x55, 0x6A, 0x9E, 0x3C, 0x4B, 0x2D, 0x10}};
  const std::vector<NamedIid> refused = {
      {"IClassFactory", IID_IClassFactory},
      {"IDeskBand2", IID_IDeskBand2},
      {"IPersistStream", IID_IPersistStream},
      {"IOleObject", IID_IOleObject},
      {"IInputObjectSite", IID_IInputObjectSite},
      {"IServiceProvider", IID_IServiceProvider},
      {"made up", kUnknownInterface},
  };
  ComPtr<IUnknown> band = CreateBand();
  ASSERT_TRUE(band);
  for (const NamedIid& refused_interface : refused) {
    SCOPED_TRACE(refused_interface.name);
    void* object = &object;
    EXPECT_EQ(E_NOINTERFACE, band->QueryInterface(refused_interface.iid, &object));
    EXPECT_EQ(nullptr, object);
  }
}

TEST_F(ComObjectTest, AggregationIsRefused) {
  ComPtr<IUnknown> outer = CreateBand();
  ASSERT_TRUE(outer);
  IUnknown* inner = reinterpret_cast<IUnknown*>(&inner);
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            CoCreateInstance(kBandClsid, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&inner)));
  EXPECT_EQ(nullptr, inner);
}

TEST_F(ComObjectTest, ClassObjectOnlyForTheBand) {
  ComPtr<IUnknown> band = CreateBand();
  using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  auto get_class_object = Export<GetClassObject>("DllGetClassObject");
  ASSERT_NE(nullptr, get_class_object);

  ComPtr<IClassFactory> factory;
  EXPECT_EQ(S_OK, get_class_object(kBandClsid, IID_IClassFactory, factory.PutVoid()));
  EXPECT_TRUE(factory);

  void* other = &other;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
            get_class_object(CLSID_StdGlobalInterfaceTable, IID_IClassFactory, &other));
  EXPECT_EQ(nullptr, other);
}

// Each step changes what is alive, then asks DllCanUnloadNow.
TEST_F(ComObjectTest, CanUnloadOnlyWhenNoObjectOrLockIsLeft) {
  ComPtr<IUnknown> first = CreateBand();
  ComPtr<IUnknown> second = CreateBand();
  ASSERT_TRUE(first && second);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(S_OK, CoGetClassObject(kBandClsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   factory.PutVoid()));
  struct Step {
    const char* what;
    void (*change)(ComPtr<IUnknown>&, ComPtr<IUnknown>&, ComPtr<IClassFactory>&);
    HRESULT expected;
  };
  const Step steps[] = {
      {"two bands alive", [](auto&, auto&, auto&) {}, S_FALSE},
      {"first band released", [](auto& a, auto&, auto&) { a.Reset(); }, S_FALSE},
      {"server locked, last band released",
       [](auto&, auto& b, auto& f) {
         EXPECT_EQ(S_OK, f->LockServer(TRUE));
         b.Reset();
       },
       S_FALSE},
      {"lock held, factory released", [](auto&, auto&, auto& f) { f.Reset(); }, S_FALSE},
      {"lock released",
       [](auto&, auto&, auto& f) {
         ASSERT_EQ(S_OK, CoGetClassObject(kBandClsid, CLSCTX_INPROC_SERVER, nullptr,
                                          IID_IClassFactory, f.PutVoid()));
         EXPECT_EQ(S_OK, f->LockServer(FALSE));
         f.Reset();
       },
       S_OK},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change(first, second, factory);
    EXPECT_EQ(step.expected, LoadedDllCanUnloadNow());
  }
}

}  // namespace
}  // namespace windlock_test
