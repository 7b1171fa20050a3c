/* MACDll: Kestrip's Monkey's Audio (APE) compressor library.
 *
 * Flat C interface. A compressor handle writes one file at a time:
 *   Create -> Start(file) -> { LockBuffer -> copy PCM -> UnlockBuffer }* -> Finish -> Destroy.
 * The library creates the output file itself. Frames are compressed as soon as their PCM is
 * complete, so memory stays bounded by one frame whatever the length of the audio.
 * All functions return 0 on success or one of the MAC_ERROR_* codes.
 */
#ifndef KESTRIP_MACDLL_H
#define KESTRIP_MACDLL_H

#include <stdint.h>

#if defined(_WIN32)
#  if defined(MACDLL_BUILDING)
#    define MACDLL_API __declspec(dllexport)
#  else
#    define MACDLL_API __declspec(dllimport)
#  endif
#else
#  define MACDLL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The Windows WAVEFORMATEX record, byte-packed (18 bytes). */
#pragma pack(push, 1)
typedef struct TWaveFormatEx {
  uint16_t FormatTag;      /* 1 = PCM */
  uint16_t Channels;
  uint32_t SamplesPerSec;
  uint32_t AvgBytesPerSec;
  uint16_t BlockAlign;     /* bytes per sample frame */
  uint16_t BitsPerSample;
  uint16_t ExtraSize;      /* cbSize: 0 for PCM */
} TWaveFormatEx;
#pragma pack(pop)

enum {
  MAC_ERROR_SUCCESS = 0,
  MAC_ERROR_IO_WRITE = 1001,
  MAC_ERROR_INVALID_OUTPUT_FILE = 1003,
  MAC_ERROR_UNSUPPORTED_BIT_DEPTH = 1005,
  MAC_ERROR_UNSUPPORTED_SAMPLE_RATE = 1006,
  MAC_ERROR_UNSUPPORTED_CHANNEL_COUNT = 1007,
  MAC_ERROR_INSUFFICIENT_MEMORY = 2000,
  MAC_ERROR_BAD_PARAMETER = 5000,
  MAC_ERROR_TOO_MUCH_DATA = 6000,
  MAC_ERROR_UNDEFINED = -1
};

enum {
  MAC_COMPRESSION_LEVEL_FAST = 1000,
  MAC_COMPRESSION_LEVEL_NORMAL = 2000,
  MAC_COMPRESSION_LEVEL_HIGH = 3000,
  MAC_COMPRESSION_LEVEL_EXTRA_HIGH = 4000
};

/* maxAudioBytes when the length is not known in advance. */
#define MAC_MAX_AUDIO_BYTES_UNKNOWN (-1)
/* headerBytes when no WAV header is stored: decoders build one themselves. */
#define MAC_CREATE_WAV_HEADER_ON_DECOMPRESSION (-1)

/* Returns a new compressor and stores 0 in *errorCode, or returns NULL and stores
 * MAC_ERROR_INSUFFICIENT_MEMORY. */
MACDLL_API void* c_APECompress_Create(int32_t* errorCode);

/* Releases the compressor; an unfinished file is closed as it stands. NULL is ignored. */
MACDLL_API void c_APECompress_Destroy(void* handle);

/* Creates utf8OutputFile and prepares compression of 16-bit PCM, mono or stereo.
 * maxAudioBytes: -1 when unknown, else the most PCM bytes that will be given.
 * compressionLevel: 1000, 2000, 3000 or 4000.
 * headerData/headerBytes: a WAV header to store in the file, or NULL/-1 for none. */
MACDLL_API int32_t c_APECompress_Start(void* handle, const char* utf8OutputFile,
                                       const TWaveFormatEx* format, int32_t maxAudioBytes,
                                       int32_t compressionLevel, const void* headerData,
                                       int32_t headerBytes);

/* Returns where the next PCM bytes go and stores in *bytesAvailable how many fit there
 * (possibly fewer than the caller has). Returns NULL with 0 available on error. */
MACDLL_API uint8_t* c_APECompress_LockBuffer(void* handle, int32_t* bytesAvailable);

/* Takes bytesAdded bytes placed in the locked buffer. With process non-zero every frame
 * completed by them is compressed and written now; otherwise that waits for the next call.
 * A frame that cannot be written fails this call with MAC_ERROR_IO_WRITE, and every later one. */
MACDLL_API int32_t c_APECompress_UnlockBuffer(void* handle, int32_t bytesAdded, int32_t process);

/* Compresses what is left, appends terminatingBytes of terminatingData after the audio (of
 * which the first wavTerminatingBytes are the tail of the original WAV file), writes the
 * header, seek table and MD5, and closes the file. A trailing partial sample frame cannot be
 * stored: it is dropped and MAC_ERROR_BAD_PARAMETER returned, the file still being complete.
 * Without any audio the file is complete but has no frames (total frames 0); some decoders,
 * ffmpeg among them, refuse such a file ("No frames in the file"). */
MACDLL_API int32_t c_APECompress_Finish(void* handle, uint8_t* terminatingData,
                                        int32_t terminatingBytes, int32_t wavTerminatingBytes);

/* Fills *format with the PCM description of the given values. */
MACDLL_API int32_t FillWaveFormatEx(TWaveFormatEx* format, int32_t sampleRate,
                                    int32_t bitsPerSample, int32_t channels);

/* Entry point types, for callers that look the functions up by name. */
typedef void* (*TAPECompressCreate)(int32_t*);
typedef void (*TAPECompressDestroy)(void*);
typedef int32_t (*TAPECompressStart)(void*, const char*, const TWaveFormatEx*, int32_t, int32_t,
                                     const void*, int32_t);
typedef uint8_t* (*TAPECompressLockBuffer)(void*, int32_t*);
typedef int32_t (*TAPECompressUnlockBuffer)(void*, int32_t, int32_t);
typedef int32_t (*TAPECompressFinish)(void*, uint8_t*, int32_t, int32_t);
typedef int32_t (*TFillWaveFormatEx)(TWaveFormatEx*, int32_t, int32_t, int32_t);

#ifdef __cplusplus
}
#endif

#endif
