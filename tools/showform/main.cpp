// showform: shows the sample window of the GUI class library.
//
//     showform                      shows it until it is closed (under Xvfb: take a screenshot)
//     showform --seconds 5          closes it after five seconds
//     showform --png window.png     draws it into a PNG file and ends, with or without a display
//     showform --page 1 ...         shows the second page of the window's tabs
//
// Without a display the offscreen platform is chosen, so --png works anywhere.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gui/application.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/timer.h"
#include "platform/rtl/exception.h"
#include "sample_form.h"

namespace {

constexpr const char* kUsage = "usage: showform [--seconds N] [--page N] [--png FILE]\n";

}  // namespace

int main(int argc, char** argv) {
    std::string png;
    int seconds = 0;
    int page = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--png" && i + 1 < argc) {
            png = argv[++i];
        } else if (arg == "--seconds" && i + 1 < argc) {
            seconds = std::atoi(argv[++i]);
        } else if (arg == "--page" && i + 1 < argc) {
            page = std::atoi(argv[++i]);
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    try {
        tv::TApplication& app = tv::Application();
        app.SetTitle("showform");
        auto* form = app.CreateForm<tv::tools::TSampleForm>();
        form->ShowPage(page);
        if (!png.empty()) {
            tv::TBitmap image;
            image.SetSize(form->Width(), form->Height());
            form->PaintTo(image.Canvas(), 0, 0);
            image.SaveToFile(png);
            return 0;
        }
        if (seconds > 0) {
            auto* timer = new tv::TTimer(form);
            timer->SetInterval(static_cast<uint32_t>(seconds) * 1000);
            timer->OnTimer = [form](tv::TObject*) { form->Close(); };
        }
        app.Run();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "showform: %s\n", e.what());
        return 1;
    }
}
