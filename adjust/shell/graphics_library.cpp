#include "shell/graphics_library.hpp"

#include <dlfcn.h>

GraphicsLibrary::GraphicsLibrary(const std::string& name) {
    // The library's windows and their classes may outlive this object by a
    // few events, so its code stays mapped once loaded.
    handle_ = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle_ == nullptr)
        return;
    isWindowOpen_ = reinterpret_cast<IsWindowOpenFn>(::dlsym(handle_, "IsWindowOpen"));
    show_ = reinterpret_cast<ShowFn>(::dlsym(handle_, "showZureruvuvLS"));
}

GraphicsLibrary::~GraphicsLibrary() {
    if (handle_ != nullptr)
        ::dlclose(handle_);
}

int GraphicsLibrary::show(std::uint16_t* id, void* parent, const globalVars& settings,
                          const errEllipseRec* ellipses, int count) const {
    if (!loaded())
        return 0;
    // The option value 1 asks for the window of a least-squares project.
    return show_(id, nullptr, parent, &settings, 1, ellipses, count);
}

bool GraphicsLibrary::isWindowOpen(std::uint16_t id) const {
    return loaded() && isWindowOpen_(id) != 0;
}
