#include "pipeline/Published.h"

#include "pipeline/AudioClasses.h"

const TEnumInfo& FileOutputModeInfo()
{
    static const TEnumInfo info{"TFileOutputMode", {{"foRewrite", foRewrite}, {"foAppend", foAppend}}};
    return info;
}

void RegisterPipelineClasses(TClassRegistry& r)
{
    if (r.Find("TAudioInput"))
        return;
    RegisterClassLibraryClasses(r);
    r.Register<TAudioInput, TComponent>("TAudioInput");
    r.Register<TAudioConverter, TAudioInput>("TAudioConverter")
        .Ref("Input", &TAudioConverter::Input, &TAudioConverter::SetInput);
    r.Register<TAudioOutput, TComponent>("TAudioOutput")
        .Ref("Input", &TAudioOutput::Input, &TAudioOutput::SetInput)
        .Bool("SuspendWhenIdle", &TAudioOutput::SuspendWhenIdle, &TAudioOutput::SetSuspendWhenIdle)
        .Default(1)
        .Event("OnDone", &TAudioOutput::OnDone)
        .Event("OnProgress", &TAudioOutput::OnProgress)
        .Event("OnThreadException", &TAudioOutput::OnThreadException);
    r.Register<TAudioStreamedOutput, TAudioOutput>("TAudioStreamedOutput");
    r.Register<TAudioFileOut, TAudioStreamedOutput>("TAudioFileOut")
        .Str("FileName", &TAudioFileOut::FileName, &TAudioFileOut::SetFileName)
        .Enum("FileMode", FileOutputModeInfo(), &TAudioFileOut::FileMode, &TAudioFileOut::SetFileMode)
        .Default(foRewrite);
}
