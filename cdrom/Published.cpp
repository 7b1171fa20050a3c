#include "cdrom/Published.h"

#include "cdrom/AudioCDROM.h"
#include "pipeline/Published.h"

void RegisterCDInClasses(TClassRegistry& r)
{
    if (r.Find("TCDIn"))
        return;
    RegisterPipelineClasses(r);
    r.Register<TCDIn, TAudioInput>("TCDIn")
        .Int("CurrentDrive", &TCDIn::CurrentDrive, &TCDIn::SetCurrentDrive)
        .Int("StartTrack", &TCDIn::StartTrack, &TCDIn::SetStartTrack)
        .Int("EndTrack", &TCDIn::EndTrack, &TCDIn::SetEndTrack);
}
