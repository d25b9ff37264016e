#include "UiaRoot.h"

#include <windows.h>
#include <oleauto.h>

namespace
{
    constexpr int uiaNamePropertyId = 30005, uiaControlTypePropertyId = 30003;

    using NodeFromHandle = HRESULT (WINAPI*) (HWND, void**);
    using GetPropertyValue = HRESULT (WINAPI*) (void*, int, VARIANT*);
    using NodeRelease = BOOL (WINAPI*) (void*);
}

UiaRoot readUiaRoot (void* windowHandle)
{
    UiaRoot root;
    auto* core = ::LoadLibraryW (L"uiautomationcore.dll");

    if (core == nullptr)
        return root;

    const auto fromHandle = (NodeFromHandle) (void*) ::GetProcAddress (core, "UiaNodeFromHandle");
    const auto getProperty = (GetPropertyValue) (void*) ::GetProcAddress (core, "UiaGetPropertyValue");
    const auto release = (NodeRelease) (void*) ::GetProcAddress (core, "UiaNodeRelease");
    void* node = nullptr;

    if (fromHandle == nullptr || getProperty == nullptr || release == nullptr || FAILED (fromHandle ((HWND) windowHandle, &node)) || node == nullptr)
        return root;

    VARIANT value;
    ::VariantInit (&value);

    if (SUCCEEDED (getProperty (node, uiaNamePropertyId, &value)) && value.vt == VT_BSTR)
        root.name = juce::String (value.bstrVal);
    ::VariantClear (&value);

    if (SUCCEEDED (getProperty (node, uiaControlTypePropertyId, &value)) && value.vt == VT_I4)
        root.controlType = value.lVal;
    ::VariantClear (&value);

    release (node);
    root.available = true;
    return root;
}
