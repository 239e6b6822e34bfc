#include "gui/ResourceModule.h"

namespace qv {

namespace {

HINSTANCE overridden = nullptr; // set by a test, or null

HINSTANCE containingModule() {
    HMODULE module = nullptr;
    // Any address inside this module names it; the count stays as it is (no FreeLibrary owed).
    const auto address = reinterpret_cast<LPCSTR>(&ResourceModule::get);
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            address, &module))
        return nullptr;
    return module;
}

} // namespace

HINSTANCE ResourceModule::get() {
    if (overridden) return overridden;
    static const HINSTANCE own = containingModule();
    return own;
}

void ResourceModule::set(HINSTANCE module) {
    overridden = module;
}

} // namespace qv
