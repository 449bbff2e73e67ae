// OpenAL32.dll for the Windows build when OpenAL Soft cannot be built: the OpenAL 1.1 entry
// points SFML's audio module imports, behind a device that never opens. The player's audio probe
// then finds no device and the show plays silently, timed by the clock, as on a machine without
// a sound card. OpenAL Soft's own OpenAL32.dll dropped in its place gives the show its music.
#define AL_API __declspec(dllexport)
#define ALC_API __declspec(dllexport)
#include <AL/al.h>
#include <AL/alc.h>

extern "C" {

// Device and context: none can be opened, so SFML never creates a source or buffer.
ALC_API ALCdevice* ALC_APIENTRY alcOpenDevice(const ALCchar*) {
  return nullptr;
}
ALC_API ALCboolean ALC_APIENTRY alcCloseDevice(ALCdevice*) {
  return ALC_FALSE;
}
ALC_API ALCcontext* ALC_APIENTRY alcCreateContext(ALCdevice*, const ALCint*) {
  return nullptr;
}
ALC_API ALCboolean ALC_APIENTRY alcMakeContextCurrent(ALCcontext*) {
  return ALC_FALSE;
}
ALC_API void ALC_APIENTRY alcDestroyContext(ALCcontext*) {}
ALC_API ALCenum ALC_APIENTRY alcGetError(ALCdevice*) {
  return ALC_INVALID_DEVICE;
}
ALC_API const ALCchar* ALC_APIENTRY alcGetString(ALCdevice*, ALCenum) {
  return "";
}
ALC_API void ALC_APIENTRY alcGetIntegerv(ALCdevice*, ALCenum, ALCsizei size, ALCint* values) {
  for (ALCsizei i = 0; values != nullptr && i < size; ++i) values[i] = 0;
}
ALC_API ALCboolean ALC_APIENTRY alcIsExtensionPresent(ALCdevice*, const ALCchar*) {
  return ALC_FALSE;
}
ALC_API ALCdevice* ALC_APIENTRY alcCaptureOpenDevice(const ALCchar*, ALCuint, ALCenum, ALCsizei) {
  return nullptr;
}
ALC_API ALCboolean ALC_APIENTRY alcCaptureCloseDevice(ALCdevice*) {
  return ALC_FALSE;
}
ALC_API void ALC_APIENTRY alcCaptureStart(ALCdevice*) {}
ALC_API void ALC_APIENTRY alcCaptureStop(ALCdevice*) {}
ALC_API void ALC_APIENTRY alcCaptureSamples(ALCdevice*, ALCvoid*, ALCsizei) {}

// Without a context every call is an error that changes nothing; queries answer zero.
AL_API ALenum AL_APIENTRY alGetError(void) {
  return AL_INVALID_OPERATION;
}
AL_API ALboolean AL_APIENTRY alIsExtensionPresent(const ALchar*) {
  return AL_FALSE;
}
AL_API ALenum AL_APIENTRY alGetEnumValue(const ALchar*) {
  return 0;
}
AL_API void AL_APIENTRY alGenBuffers(ALsizei n, ALuint* ids) {
  for (ALsizei i = 0; ids != nullptr && i < n; ++i) ids[i] = 0;
}
AL_API void AL_APIENTRY alDeleteBuffers(ALsizei, const ALuint*) {}
AL_API void AL_APIENTRY alBufferData(ALuint, ALenum, const ALvoid*, ALsizei, ALsizei) {}
AL_API void AL_APIENTRY alGetBufferi(ALuint, ALenum, ALint* value) {
  if (value != nullptr) *value = 0;
}
AL_API void AL_APIENTRY alGenSources(ALsizei n, ALuint* ids) {
  for (ALsizei i = 0; ids != nullptr && i < n; ++i) ids[i] = 0;
}
AL_API void AL_APIENTRY alDeleteSources(ALsizei, const ALuint*) {}
AL_API void AL_APIENTRY alSourcei(ALuint, ALenum, ALint) {}
AL_API void AL_APIENTRY alSourcef(ALuint, ALenum, ALfloat) {}
AL_API void AL_APIENTRY alSource3f(ALuint, ALenum, ALfloat, ALfloat, ALfloat) {}
AL_API void AL_APIENTRY alGetSourcei(ALuint, ALenum, ALint* value) {
  if (value != nullptr) *value = 0;
}
AL_API void AL_APIENTRY alGetSourcef(ALuint, ALenum, ALfloat* value) {
  if (value != nullptr) *value = 0;
}
AL_API void AL_APIENTRY alGetSource3f(ALuint, ALenum, ALfloat* x, ALfloat* y, ALfloat* z) {
  if (x != nullptr) *x = 0;
  if (y != nullptr) *y = 0;
  if (z != nullptr) *z = 0;
}
AL_API void AL_APIENTRY alSourcePlay(ALuint) {}
AL_API void AL_APIENTRY alSourcePause(ALuint) {}
AL_API void AL_APIENTRY alSourceStop(ALuint) {}
AL_API void AL_APIENTRY alSourceQueueBuffers(ALuint, ALsizei, const ALuint*) {}
AL_API void AL_APIENTRY alSourceUnqueueBuffers(ALuint, ALsizei, ALuint*) {}
AL_API void AL_APIENTRY alListenerf(ALenum, ALfloat) {}
AL_API void AL_APIENTRY alListener3f(ALenum, ALfloat, ALfloat, ALfloat) {}
AL_API void AL_APIENTRY alListenerfv(ALenum, const ALfloat*) {}

}  // extern "C"
