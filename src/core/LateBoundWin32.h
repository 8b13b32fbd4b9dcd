#pragma once
// Functions of system libraries that are loaded when first needed rather than
// before the program's first line. Under some systems the common controls
// alone take tens of milliseconds to load, and a library the program imports
// is loaded before anything of the program runs: the editor could start its
// helper only after all of them.
//
// A call site keeps its function in a static, e.g.
//   static const auto create = lateBound<decltype(&ImageList_Create)>(L"comctl32.dll", "ImageList_Create");
// and treats nullptr (library or function missing) as the call's failure.
#include <windows.h>

#include <cstring>

namespace wavora {

template <typename Function>
Function lateBound(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library); // stays loaded for the rest of the run
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    static_assert(sizeof(Function) == sizeof(FARPROC));
    Function f = nullptr;
    std::memcpy(&f, &found, sizeof f); // one function pointer type to another, without a cast warning
    return f;
}

} // namespace wavora
