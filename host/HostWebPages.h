// What the stand-in host shows of its web controls and message boxes: the
// stand-in controls of "Beging.dat" draw nothing, so the host paints a
// page where each shown one sits, over the frame as a native window would
// be; and it prints the module's message boxes, which it cannot show.
#pragma once

#include <cstdint>
#include <cstdio>

#include "IBaseFileSystem.h"

struct WebCtrlRecord;

namespace QHost
{
class HostRender;

class HostWebPages
{
public:
    // A page: a light sheet with a border, a header band and lines of
    // "text" in the grey of the page's text.
    static constexpr uint32_t kPageColour = 0xFFF6F3EA;
    static constexpr uint32_t kBorderColour = 0xFF5A6A80;
    static constexpr uint32_t kHeaderColour = 0xFF3C6EA8;
    static constexpr uint32_t kLineColour = 0xFFB8B4AA;
    static constexpr int kHeaderHeight = 18;
    static constexpr int kLineSpacing = 14;

    // Finds the web-control module's record through the file system, as
    // the module loads it; without a file system or the module there is
    // nothing to show.
    explicit HostWebPages(IBaseFileSystem* fileSystem);
    ~HostWebPages();

    HostWebPages(const HostWebPages&) = delete;
    HostWebPages& operator=(const HostWebPages&) = delete;

    // Paints a page for each control that lives and is shown.
    void draw(HostRender& render) const;
    const WebCtrlRecord* record() const { return d_record; }

private:
    IBaseFileSystem* d_fileSystem;
    CSysModule d_module = nullptr;
    WebCtrlRecord* d_record = nullptr;
};

// Prints each message box the module shows as one line to out:
//   message box [Error]: This page is not a page of the game: ...
// Null stops printing.
void PrintMessageBoxes(std::FILE* out);
} // namespace QHost
