#include "outputs/Published.h"

#include "outputs/AudioFLAC.h"
#include "outputs/AudioLAME.h"
#include "outputs/AudioMAC.h"
#include "outputs/AudioVorbis.h"
#include "outputs/AudioWave.h"
#include "pipeline/Published.h"

const TEnumInfo& WavTypeInfo()
{
    static const TEnumInfo info{"TWavType",
                                {{"wtUnsupported", wtUnsupported},
                                 {"wtPCM", wtPCM},
                                 {"wtDVIADPCM", wtDVIADPCM},
                                 {"wtMSADPCM", wtMSADPCM},
                                 {"wtACM", wtACM}}};
    return info;
}

const TEnumInfo& VorbisBitRateInfo()
{
    static const TEnumInfo info{"TVorbisBitRate",
                                {{"brAutoSelect", brAutoSelect}, {"br45", br45},   {"br48", br48},   {"br56", br56},
                                 {"br64", br64},                 {"br80", br80},   {"br96", br96},   {"br112", br112},
                                 {"br128", br128},               {"br144", br144}, {"br160", br160}, {"br192", br192},
                                 {"br224", br224},               {"br256", br256}, {"br320", br320}, {"br499", br499}}};
    return info;
}

const TEnumInfo& MP3BitRateInfo()
{
    static const TEnumInfo info = [] {
        TEnumInfo e{"TMP3BitRate", {}};
        const char* const names[] = {"br8",  "br16",  "br24",  "br32",  "br40",  "br48",  "br56",  "br64",  "br80",
                                     "br96", "br112", "br128", "br144", "br160", "br192", "br224", "br256", "br320"};
        for (std::int64_t i = 0; i < static_cast<std::int64_t>(std::size(names)); ++i)
            e.values.emplace_back(names[i], i);
        return e;
    }();
    return info;
}

void RegisterOutputClasses(TClassRegistry& r)
{
    if (r.Find("TWaveOut"))
        return;
    RegisterPipelineClasses(r);
    r.Register<TWaveOut, TAudioFileOut>("TWaveOut")
        .Enum("WavType", WavTypeInfo(), &TWaveOut::WavType, &TWaveOut::SetWavType)
        .Default(wtPCM)
        .Int("BlockSize", &TWaveOut::BlockSize, &TWaveOut::SetBlockSize)
        .Default(512);
    r.Register<TVorbisOut, TAudioFileOut>("TVorbisOut")
        .Float("Compression", &TVorbisOut::Compression, &TVorbisOut::SetCompression)
        .Strings("Comments", &TVorbisOut::Comments, &TVorbisOut::SetComments)
        .Int("Serial", &TVorbisOut::Serial, &TVorbisOut::SetSerial)
        // Nominal first: the maximum is only kept once a nominal rate is chosen.
        .Enum("DesiredNominalBitrate", VorbisBitRateInfo(), &TVorbisOut::DesiredNominalBitrate,
              &TVorbisOut::SetDesiredNominalBitrate)
        .Enum("DesiredMaximumBitrate", VorbisBitRateInfo(), &TVorbisOut::DesiredMaximumBitrate,
              &TVorbisOut::SetDesiredMaximumBitrate)
        .Enum("MinimumBitrate", VorbisBitRateInfo(), &TVorbisOut::MinimumBitrate, &TVorbisOut::SetMinimumBitrate);
    r.Register<TFLACOut, TAudioFileOut>("TFLACOut")
        .Bool("BestModelSearch", &TFLACOut::BestModelSearch, &TFLACOut::SetBestModelSearch)
        .Int("BlockSize", &TFLACOut::BlockSize, &TFLACOut::SetBlockSize)
        .Bool("EnableMidSideStereo", &TFLACOut::EnableMidSideStereo, &TFLACOut::SetEnableMidSideStereo)
        .Bool("EnableLooseMidSideStereo", &TFLACOut::EnableLooseMidSideStereo, &TFLACOut::SetEnableLooseMidSideStereo)
        .Int("MaxLPCOrder", &TFLACOut::MaxLPCOrder, &TFLACOut::SetMaxLPCOrder)
        .Int("MaxResidualPartitionOrder", &TFLACOut::MaxResidualPartitionOrder, &TFLACOut::SetMaxResidualPartitionOrder)
        .Int("MinResidualPartitionOrder", &TFLACOut::MinResidualPartitionOrder, &TFLACOut::SetMinResidualPartitionOrder)
        .Int("QLPCoeffPrecision", &TFLACOut::QLPCoeffPrecision, &TFLACOut::SetQLPCoeffPrecision)
        .Bool("QLPCoeffPrecisionSearch", &TFLACOut::QLPCoeffPrecisionSearch, &TFLACOut::SetQLPCoeffPrecisionSearch)
        .Bool("Verify", &TFLACOut::Verify, &TFLACOut::SetVerify);
    r.Register<TMP3Out, TAudioFileOut>("TMP3Out")
        .Enum("BitRate", MP3BitRateInfo(), &TMP3Out::BitRate, &TMP3Out::SetBitRate)
        .Str("Id3TagTitle", &TMP3Out::Id3TagTitle, &TMP3Out::SetId3TagTitle)
        .Str("Id3TagArtist", &TMP3Out::Id3TagArtist, &TMP3Out::SetId3TagArtist)
        .Str("Id3TagAlbum", &TMP3Out::Id3TagAlbum, &TMP3Out::SetId3TagAlbum)
        .Str("Id3TagYear", &TMP3Out::Id3TagYear, &TMP3Out::SetId3TagYear)
        .Str("Id3TagTrack", &TMP3Out::Id3TagTrack, &TMP3Out::SetId3TagTrack)
        .Str("Id3TagComment", &TMP3Out::Id3TagComment, &TMP3Out::SetId3TagComment);
    r.Register<TMACOut, TAudioFileOut>("TMACOut")
        .Int("CompressionLevel", &TMACOut::CompressionLevel, &TMACOut::SetCompressionLevel)
        .Int("MaxAudioBytes", &TMACOut::MaxAudioBytes, &TMACOut::SetMaxAudioBytes);
}
