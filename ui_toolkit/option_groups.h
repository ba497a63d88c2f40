// The option groups of one window: which options exclude each other.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace DuiLib {

class COptionUI;

class OptionGroups {
public:
    void Add(const std::wstring& group, COptionUI* option);
    void Remove(const std::wstring& group, COptionUI* option);
    std::vector<COptionUI*> Members(const std::wstring& group) const;

private:
    std::map<std::wstring, std::vector<COptionUI*>> groups_;
};

}  // namespace DuiLib
