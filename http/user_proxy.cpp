#include "http/user_proxy.h"

UserProxyPlan PlanUserProxy(const UserProxySettings& settings) {
    UserProxyPlan plan;
    plan.autoDetect = settings.autoDetect;
    plan.autoConfigUrl = settings.autoConfigUrl;
    plan.askPerAddress = plan.autoDetect || !plan.autoConfigUrl.empty();
    plan.named = !settings.proxy.empty();
    if (plan.named) {
        plan.proxy = settings.proxy;
        // A bypass list means nothing without a proxy to bypass.
        plan.bypass = settings.bypass;
    }
    return plan;
}
