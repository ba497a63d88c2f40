#include "capture/update_split_win.h"

#include "base/unique_handle.h"

namespace {

// The rectangles of a region; its bounds when it has more than max of them; nothing when empty.
std::vector<RECT> RegionRects(HRGN region, DWORD max) {
    std::vector<RECT> rects;
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0) return rects;
    std::vector<BYTE> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(region, size, data) && data->rdh.nCount <= max) {
        const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
        rects.assign(r, r + data->rdh.nCount);
    }
    RECT bounds;
    if (rects.empty() && GetRgnBox(region, &bounds) != NULLREGION) rects.push_back(bounds);
    return rects;
}

}  // namespace

UpdateSplit SplitUpdate(HRGN dirty, HRGN chrome, DWORD maxRects) {
    UniqueRegion composed(CreateRectRgn(0, 0, 0, 0));
    UniqueRegion plain(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(composed.Get(), dirty, chrome, RGN_AND);
    CombineRgn(plain.Get(), dirty, chrome, RGN_DIFF);
    return UpdateSplit{RegionRects(plain.Get(), maxRects), RegionRects(composed.Get(), maxRects)};
}
