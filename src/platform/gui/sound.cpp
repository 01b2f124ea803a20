#include "platform/gui/sound.h"

#include <QApplication>

#include "platform/gui/application.h"

namespace tv {

namespace {

// The desktop's beep, when there is a desktop; a run without one stays silent.
class TDesktopSound : public ISoundService {
public:
    void MessageBeep(uint32_t) override {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) && !ScreenlessRun())
            QApplication::beep();
    }
};

ISoundService* gService = nullptr;  // main thread only

}  // namespace

ISoundService& SoundService() {
    static TDesktopSound desktop;
    return gService ? *gService : desktop;
}

void Beep() {
    MessageBeep(MB_OK);
}

void MessageBeep(uint32_t type) {
    SoundService().MessageBeep(type);
}

TSoundServiceScope::TSoundServiceScope(ISoundService& service) : fPrevious(gService) {
    gService = &service;
}

TSoundServiceScope::~TSoundServiceScope() {
    gService = fPrevious;
}

}  // namespace tv
