#pragma once
// Writes the input's PCM bytes to a file exactly as read: no header, no encoding.
#include <cstdint>
#include <vector>

#include "pipeline/AudioClasses.h"

class TRawOut : public TAudioFileOut {
public:
    explicit TRawOut(TComponent* owner = nullptr);
    ~TRawOut() override;

protected:
    void StartOutput() override;
    bool OutputStep(bool abort) override;
    void FinishOutput() override;

private:
    std::vector<std::uint8_t> buffer_;
};
