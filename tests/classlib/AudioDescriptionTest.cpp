// The main window's audio components from a stored description: the CD input and the five
// outputs with their stored settings, references and events, read back by name.
#include <gtest/gtest.h>

#include "cdrom/AudioCDROM.h"
#include "cdrom/Published.h"
#include "classlib/form/FormReader.h"
#include "classlib/form/FormWriter.h"
#include "outputs/AudioFLAC.h"
#include "outputs/AudioLAME.h"
#include "outputs/AudioMAC.h"
#include "outputs/AudioVorbis.h"
#include "outputs/AudioWave.h"
#include "outputs/Published.h"

namespace {

class TRipForm : public TComponent {
public:
    using TComponent::TComponent;
    TCDIn* CDIn1 = nullptr;
    TVorbisOut* VorbisOut1 = nullptr;
    TWaveOut* WaveOut1 = nullptr;
    TMACOut* MACOut1 = nullptr;
    TFLACOut* FLACOut1 = nullptr;
    TMP3Out* MP3Out1 = nullptr;

    std::vector<std::string> calls;
    void OutDone(TComponent* sender) { calls.push_back("done " + sender->Name()); }
    void OutProgress(TComponent* sender) { calls.push_back("progress " + sender->Name()); }
    void OutThreadException(TComponent* sender, const Exception& e)
    {
        calls.push_back("error " + sender->Name() + ": " + e.Message());
    }
};

void RegisterRipForm()
{
    TClassRegistry& r = Classes();
    RegisterCDInClasses(r);
    RegisterOutputClasses(r);
    RegisterCDInClasses(r); // a second call changes nothing
    if (r.Find("TRipForm"))
        return;
    r.Register<TRipForm, TComponent>("TRipForm")
        .Field("CDIn1", &TRipForm::CDIn1)
        .Field("VorbisOut1", &TRipForm::VorbisOut1)
        .Field("WaveOut1", &TRipForm::WaveOut1)
        .Field("MACOut1", &TRipForm::MACOut1)
        .Field("FLACOut1", &TRipForm::FLACOut1)
        .Field("MP3Out1", &TRipForm::MP3Out1)
        .Method("OutDone", &TRipForm::OutDone)
        .Method("OutProgress", &TRipForm::OutProgress)
        .Method("OutThreadException", &TRipForm::OutThreadException);
}

const char* const kMainWindowAudio = R"(object Form1: TRipForm
  object CDIn1: TCDIn
    CurrentDrive = 0
    StartTrack = 1
    EndTrack = 1
  end
  object VorbisOut1: TVorbisOut
    Input = CDIn1
    SuspendWhenIdle = True
    FileMode = foRewrite
    OnDone = OutDone
    OnProgress = OutProgress
    OnThreadException = OutThreadException
    Compression = 0.600000023841858
    DesiredMaximumBitrate = brAutoSelect
    DesiredNominalBitrate = brAutoSelect
    MinimumBitrate = brAutoSelect
    Serial = 0
  end
  object WaveOut1: TWaveOut
    Input = CDIn1
    SuspendWhenIdle = True
    FileMode = foRewrite
    OnDone = OutDone
    OnProgress = OutProgress
    OnThreadException = OutThreadException
    WavType = wtPCM
    BlockSize = 512
  end
  object MACOut1: TMACOut
    Input = CDIn1
    SuspendWhenIdle = True
    FileMode = foRewrite
    OnDone = OutDone
    OnProgress = OutProgress
    OnThreadException = OutThreadException
    CompressionLevel = 2000
    MaxAudioBytes = -1
  end
  object FLACOut1: TFLACOut
    Input = CDIn1
    SuspendWhenIdle = True
    FileMode = foRewrite
    OnDone = OutDone
    OnProgress = OutProgress
    OnThreadException = OutThreadException
    BestModelSearch = False
    BlockSize = 4608
    EnableMidSideStereo = True
    EnableLooseMidSideStereo = False
    MaxLPCOrder = 0
    MaxResidualPartitionOrder = 0
    MinResidualPartitionOrder = 0
    QLPCoeffPrecision = 0
    QLPCoeffPrecisionSearch = False
    Verify = False
  end
  object MP3Out1: TMP3Out
    Input = CDIn1
    SuspendWhenIdle = True
    FileMode = foRewrite
    OnDone = OutDone
    OnProgress = OutProgress
    OnThreadException = OutThreadException
    BitRate = br128
  end
end
)";

TEST(AudioDescription, MainWindowComponentsReadBackByName)
{
    RegisterRipForm();
    TRipForm form;
    ReadFormText(kMainWindowAudio, form);

    ASSERT_NE(form.CDIn1, nullptr);
    ASSERT_NE(form.VorbisOut1, nullptr);
    ASSERT_NE(form.WaveOut1, nullptr);
    ASSERT_NE(form.MACOut1, nullptr);
    ASSERT_NE(form.FLACOut1, nullptr);
    ASSERT_NE(form.MP3Out1, nullptr);
    const char* const order[] = {"CDIn1", "VorbisOut1", "WaveOut1", "MACOut1", "FLACOut1", "MP3Out1"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(form.Components(i)->Name(), order[i]);

    struct Case {
        const char* component;
        const char* property;
        const char* text;
    };
    const Case cases[] = {
        {"CDIn1", "CurrentDrive", "0"},
        {"CDIn1", "StartTrack", "1"},
        {"CDIn1", "EndTrack", "1"},
        {"VorbisOut1", "Compression", "0.6"},
        {"VorbisOut1", "DesiredMaximumBitrate", "brAutoSelect"},
        {"VorbisOut1", "DesiredNominalBitrate", "brAutoSelect"},
        {"VorbisOut1", "MinimumBitrate", "brAutoSelect"},
        {"VorbisOut1", "Serial", "0"},
        {"WaveOut1", "WavType", "wtPCM"},
        {"WaveOut1", "BlockSize", "512"},
        {"MACOut1", "CompressionLevel", "2000"},
        {"MACOut1", "MaxAudioBytes", "-1"},
        {"FLACOut1", "BestModelSearch", "False"},
        {"FLACOut1", "BlockSize", "4608"},
        {"FLACOut1", "EnableMidSideStereo", "True"},
        {"FLACOut1", "EnableLooseMidSideStereo", "False"},
        {"FLACOut1", "MaxLPCOrder", "0"},
        {"FLACOut1", "MaxResidualPartitionOrder", "0"},
        {"FLACOut1", "MinResidualPartitionOrder", "0"},
        {"FLACOut1", "QLPCoeffPrecision", "0"},
        {"FLACOut1", "QLPCoeffPrecisionSearch", "False"},
        {"FLACOut1", "Verify", "False"},
        {"MP3Out1", "BitRate", "br128"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.component) + "." + c.property);
        EXPECT_EQ(GetPropText(form.FindComponent(c.component), c.property), c.text);
    }
    EXPECT_EQ(form.VorbisOut1->Compression(), 0.6f);

    // The five outputs: the shared settings, the input reference and the three events.
    const std::vector<TAudioFileOut*> outputs = {form.VorbisOut1, form.WaveOut1, form.MACOut1, form.FLACOut1,
                                                  form.MP3Out1};
    for (TAudioFileOut* out : outputs) {
        SCOPED_TRACE(out->Name());
        EXPECT_EQ(out->Input(), form.CDIn1);
        EXPECT_EQ(GetPropText(out, "Input"), "CDIn1");
        EXPECT_EQ(GetPropText(out, "SuspendWhenIdle"), "True");
        EXPECT_EQ(GetPropText(out, "FileMode"), "foRewrite");
        EXPECT_EQ(GetPropText(out, "OnDone"), "OutDone");
        EXPECT_EQ(GetPropText(out, "OnProgress"), "OutProgress");
        EXPECT_EQ(GetPropText(out, "OnThreadException"), "OutThreadException");
        form.calls.clear();
        out->OnProgress(out);
        out->OnDone(out);
        out->OnThreadException(out, EAudioException("Input is not assigned"));
        EXPECT_EQ(form.calls, (std::vector<std::string>{"progress " + out->Name(), "done " + out->Name(),
                                                         "error " + out->Name() + ": Input is not assigned"}));
    }

    // Settings that are not the main window's go through the same names.
    SetPropText(form.VorbisOut1, "DesiredNominalBitrate", "br192");
    SetPropText(form.VorbisOut1, "DesiredMaximumBitrate", "br256");
    EXPECT_EQ(form.VorbisOut1->DesiredMaximumBitrate(), br256);
    SetPropText(form.VorbisOut1, "Comments", "ARTIST=Someone\r\nTITLE=One");
    EXPECT_EQ(form.VorbisOut1->Comments(), (std::vector<std::string>{"ARTIST=Someone", "TITLE=One"}));
    SetPropText(form.MACOut1, "CompressionLevel", "1234"); // the setter's own rule: 2000
    EXPECT_EQ(form.MACOut1->CompressionLevel(), 2000);
    SetPropText(form.WaveOut1, "FileMode", "foAppend");
    EXPECT_EQ(form.WaveOut1->FileMode(), foAppend);
    SetPropText(form.FLACOut1, "FileMode", "foAppend"); // the base keeps rewriting
    EXPECT_EQ(form.FLACOut1->FileMode(), foRewrite);
    SetPropText(form.MP3Out1, "Id3TagTitle", "Träck");
    EXPECT_EQ(form.MP3Out1->Id3TagTitle(), "Träck");
    SetPropText(form.MP3Out1, "FileName", "C:\\Music\\Track-01.mp3");
    EXPECT_EQ(form.MP3Out1->FileName(), "C:\\Music\\Track-01.mp3");
    EXPECT_THROW(SetPropText(form.FLACOut1, "BlockSize", "65536"), EPropertyError);
}

TEST(AudioDescription, WrittenDescriptionReadsBackTheSame)
{
    RegisterRipForm();
    TRipForm first;
    ReadFormText(kMainWindowAudio, first);
    first.VorbisOut1->SetComments({"TITLE=Über"});
    const std::string written = WriteFormText(first);
    EXPECT_NE(written.find("Comments = (\r\n      'TITLE='#220'ber')"), std::string::npos) << written;
    EXPECT_NE(written.find("Compression = 0.6\r\n"), std::string::npos) << written;
    EXPECT_NE(written.find("Input = CDIn1\r\n"), std::string::npos) << written;
    TRipForm second;
    ReadFormText(written, second);
    EXPECT_EQ(WriteFormText(second), written);
    EXPECT_EQ(second.MP3Out1->Input(), second.CDIn1);
    EXPECT_EQ(second.VorbisOut1->Comments(), first.VorbisOut1->Comments());
}

TEST(AudioDescription, AnOutputReadsAnInputStoredAfterIt)
{
    RegisterRipForm();
    TRipForm form;
    ReadFormText("object Form1: TRipForm\n"
                 "  object WaveOut1: TWaveOut\n    Input = CDIn1\n    WavType = wtDVIADPCM\n  end\n"
                 "  object CDIn1: TCDIn\n    EndTrack = 3\n  end\n"
                 "end\n",
                 form);
    EXPECT_EQ(form.WaveOut1->Input(), form.CDIn1);
    EXPECT_EQ(form.WaveOut1->WavType(), wtDVIADPCM);
    EXPECT_EQ(form.CDIn1->EndTrack(), 3);
    // Destroying the input drops the reference.
    delete form.CDIn1;
    EXPECT_EQ(form.WaveOut1->Input(), nullptr);
}

} // namespace
