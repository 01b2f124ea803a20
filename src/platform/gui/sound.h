#pragma once
// The desktop's beeps (a refused key, a failed step), through a service that tests replace with a
// recorder, so that they can tell that a beep sounded and no test makes a noise.
//
//     TRecordingSound sound;
//     TSoundServiceScope scope(sound);
//     ... code that beeps ...
//     EXPECT_EQ(sound.Beeps(), std::vector<uint32_t>{MB_OK});

#include <cstdint>
#include <vector>

namespace tv {

class ISoundService {
public:
    virtual ~ISoundService() = default;
    // The sound of a message box of that kind (MB_OK, MB_ICONERROR ... as in application.h); every
    // kind sounds the desktop's one beep here.
    virtual void MessageBeep(uint32_t type) = 0;
};

// The service in place: the desktop's beep until a scope puts another one in place.
ISoundService& SoundService();

// The default beep (SoundService().MessageBeep(MB_OK)).
void Beep();
void MessageBeep(uint32_t type);

// Records every beep instead of sounding it.
class TRecordingSound : public ISoundService {
public:
    void MessageBeep(uint32_t type) override { fBeeps.push_back(type); }
    const std::vector<uint32_t>& Beeps() const { return fBeeps; }
    void Clear() { fBeeps.clear(); }

private:
    std::vector<uint32_t> fBeeps;
};

// Puts `service` in place for the life of the scope, then puts back the one it replaced.
class TSoundServiceScope {
public:
    explicit TSoundServiceScope(ISoundService& service);
    ~TSoundServiceScope();
    TSoundServiceScope(const TSoundServiceScope&) = delete;
    TSoundServiceScope& operator=(const TSoundServiceScope&) = delete;

private:
    ISoundService* fPrevious;
};

}  // namespace tv
