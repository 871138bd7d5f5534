#include "app/main_title.h"

namespace gyrel {

std::string mainTitle(const Context& ctx) {
    return "GYREL Utility --  " + ctx.svc.port.comLabel(" ") + "  -  " + ctx.model.SpeedText;
}

void setMainTitle(Context& ctx) {
    ctx.main.title = mainTitle(ctx);
    if (ctx.hooks.titleChanged) ctx.hooks.titleChanged();
}

}  // namespace gyrel
