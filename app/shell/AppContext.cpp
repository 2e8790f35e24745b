#include "shell/AppContext.h"

#include <cassert>

namespace kalvo {

namespace {
AppContext *g_instance = nullptr;
}

AppContext &AppContext::instance()
{
    assert(g_instance && "AppContext::setInstance() was not called");
    return *g_instance;
}

void AppContext::setInstance(AppContext *context)
{
    g_instance = context;
}

} // namespace kalvo
