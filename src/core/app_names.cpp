#include "core/app_names.h"

namespace tv {
namespace {

struct Names {
    std::string company{kAppCompanyName};
    std::string product;
    std::string title;
    std::string instance;
};

Names& TheNames() {
    static Names names;
    return names;
}

}  // namespace

const std::string& AppCompanyName() {
    return TheNames().company;
}
void SetAppCompanyName(std::string_view name) {
    TheNames().company = name;
}
const std::string& AppProductName() {
    return TheNames().product;
}
void SetAppProductName(std::string_view name) {
    TheNames().product = name;
}
const std::string& ApplicationTitle() {
    return TheNames().title;
}
void SetApplicationTitle(std::string_view title) {
    TheNames().title = title;
}
const std::string& AppInstanceName() {
    return TheNames().instance;
}
void SetAppInstanceName(std::string_view name) {
    TheNames().instance = name;
}

}  // namespace tv
