#include "ui_toolkit/option_groups.h"

#include <algorithm>

namespace DuiLib {

void OptionGroups::Add(const std::wstring& group, COptionUI* option) {
    std::vector<COptionUI*>& members = groups_[group];
    if (std::find(members.begin(), members.end(), option) == members.end()) members.push_back(option);
}

void OptionGroups::Remove(const std::wstring& group, COptionUI* option) {
    auto found = groups_.find(group);
    if (found == groups_.end()) return;
    std::vector<COptionUI*>& members = found->second;
    members.erase(std::remove(members.begin(), members.end(), option), members.end());
}

std::vector<COptionUI*> OptionGroups::Members(const std::wstring& group) const {
    auto found = groups_.find(group);
    return found == groups_.end() ? std::vector<COptionUI*>() : found->second;
}

}  // namespace DuiLib
