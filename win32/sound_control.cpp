// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "sound_control.h"

#include <windows.h>
// After windows.h:
#include <mmsystem.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwctype>
#include <vector>

#include "resource_ids.h"
#include "wide_text.h"

namespace win {
namespace {

std::wstring lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return text;
}

int builtInCue(const std::wstring& fileName) {
    const std::wstring name = lower(fileName);
    if (name == L"chimes.wav")
        return kChimesCue;
    if (name == L"chimes2.wav")
        return kChimes2Cue;
    if (name == L"pinpon.wav")
        return kPinponCue;
    if (name == L"endpinpon.wav")
        return kEndpinponCue;
    return 0;
}

std::string builtInBytes(int id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (id == 0 || found == nullptr)
        return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return bytes == nullptr ? std::string() : std::string(bytes, SizeofResource(nullptr, found));
}

std::string fileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    LARGE_INTEGER size{};
    // A cue is a short sound; anything over 16 MiB is no cue of ours.
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= (16 << 20)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size())
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

// The file in memory, played by PlaySound; a new cue cuts off the one playing.
class MemoryPlayer : public CuePlayer {
public:
    ~MemoryPlayer() override { close(); }
    void stop() override { PlaySoundW(nullptr, nullptr, 0); }
    void close() override {
        stop();  // the sound may still be reading the bytes
        bytes_.clear();
        bytes_.shrink_to_fit();
    }
    void open(const std::wstring& fileName) override {
        close();
        bytes_ = cueBytes(fileName);
    }
    void sound() override {
        if (!bytes_.empty())
            PlaySoundW(reinterpret_cast<LPCWSTR>(bytes_.data()), nullptr,
                       SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
    }
    void play(const std::string& bytes) {
        close();
        bytes_ = bytes;
        sound();
    }

private:
    std::string bytes_;
};

// A WAV file's format and samples.
struct Wave {
    std::vector<char> format;  // a WAVEFORMATEX, cbSize zero when the file has none
    std::string samples;
};

std::uint32_t littleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes, 4);
    return value;
}

// The "fmt " and "data" chunks of a RIFF WAVE file; false when either is missing.
bool parseWave(const std::string& bytes, Wave& wave) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return false;
    wave = {};
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::uint32_t size = littleEndian32(bytes.data() + at + 4);
        const char* body = bytes.data() + at + 8;
        const std::size_t left = bytes.size() - at - 8;
        if (bytes.compare(at, 4, "fmt ") == 0 && size >= 16 && size <= left) {
            wave.format.assign(std::max<std::size_t>(size, sizeof(WAVEFORMATEX)), '\0');
            std::memcpy(wave.format.data(), body, size);
            // The extra format bytes it names, never more than the chunk holds.
            auto& format = *reinterpret_cast<WAVEFORMATEX*>(wave.format.data());
            format.cbSize = static_cast<WORD>(
                std::min<std::size_t>(format.cbSize, wave.format.size() - sizeof(WAVEFORMATEX)));
        } else if (bytes.compare(at, 4, "data") == 0) {
            wave.samples.assign(body, std::min<std::size_t>(size, left));
        }
        if (size >= left)
            break;
        at += 8 + size + (size & 1);
    }
    return !wave.format.empty() && !wave.samples.empty();
}

// Silence after the samples of PCM and floating-point cues. A sound system may stop the
// device as soon as it has counted the last sample played and keep what it still held,
// which would then sound before the next cue; this way what it keeps is silence.
void addSilence(Wave& wave) {
    const auto& format = *reinterpret_cast<const WAVEFORMATEX*>(wave.format.data());
    constexpr WORD kFloat = 3;            // WAVE_FORMAT_IEEE_FLOAT
    constexpr WORD kExtensible = 0xFFFE;  // WAVE_FORMAT_EXTENSIBLE
    if ((format.wFormatTag != WAVE_FORMAT_PCM && format.wFormatTag != kFloat &&
         format.wFormatTag != kExtensible) ||
        format.nBlockAlign == 0)
        return;
    const std::size_t blocks = format.nAvgBytesPerSec / 16 / format.nBlockAlign;  // 1/16 s
    const char silence = format.wBitsPerSample == 8 ? '\x80' : '\0';
    wave.samples.append(blocks * format.nBlockAlign, silence);
}

// A wave output device kept open from cue to cue, so that a cue only writes its samples:
// opening a device is what takes time, all the more on a busy computer. The device is opened
// again only for a cue of another format. A file the device cannot play goes to PlaySound.
class WaveOutPlayer : public CuePlayer {
public:
    WaveOutPlayer() {
        // The format of the built-in cues, opened before the first cue.
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 1;
        format.nSamplesPerSec = 44100;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 2;
        format.nAvgBytesPerSec = 88200;
        const auto* begin = reinterpret_cast<const char*>(&format);
        openDevice(std::vector<char>(begin, begin + sizeof format));
    }
    ~WaveOutPlayer() override {
        close();
        closeDevice();
    }
    void stop() override {
        if (playing())
            waveOutReset(device_);
        if (elsewhere_)
            fallback_.stop();
        elsewhere_ = false;
    }
    void close() override {
        stop();
        unprepare();
        bytes_.clear();
        wave_ = {};
    }
    void open(const std::wstring& fileName) override {
        close();
        bytes_ = cueBytes(fileName);
        if (parseWave(bytes_, wave_))
            addSilence(wave_);
        else
            wave_ = {};
    }
    void sound() override {
        if (bytes_.empty())
            return;
        if (wave_.samples.empty() || !openDevice(wave_.format)) {
            playElsewhere();
            return;
        }
        if (playing())
            waveOutReset(device_);  // the same cue again starts from its beginning
        if (!prepared_) {
            header_ = {};
            header_.lpData = wave_.samples.data();
            header_.dwBufferLength = static_cast<DWORD>(wave_.samples.size());
            if (waveOutPrepareHeader(device_, &header_, sizeof header_) != MMSYSERR_NOERROR)
                return;
            prepared_ = true;
        }
        // A device that has gone (the sound system restarted) is opened again at the next cue.
        if (waveOutWrite(device_, &header_, sizeof header_) != MMSYSERR_NOERROR)
            closeDevice();
    }

private:
    // The device marks the header done when it has played it.
    bool playing() const {
        const auto flags = static_cast<const volatile DWORD&>(header_.dwFlags);
        return device_ != nullptr && prepared_ && (flags & WHDR_DONE) == 0;
    }
    bool openDevice(const std::vector<char>& format) {
        if (device_ != nullptr && format == format_)
            return true;
        closeDevice();
        const auto* wanted = reinterpret_cast<const WAVEFORMATEX*>(format.data());
        if (waveOutOpen(&device_, WAVE_MAPPER, wanted, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
            device_ = nullptr;
            return false;
        }
        format_ = format;
        return true;
    }
    void closeDevice() {
        if (device_ == nullptr)
            return;
        waveOutReset(device_);
        unprepare();
        waveOutClose(device_);
        device_ = nullptr;
        format_.clear();
    }
    void unprepare() {
        if (prepared_ && device_ != nullptr)
            waveOutUnprepareHeader(device_, &header_, sizeof header_);
        prepared_ = false;
    }
    void playElsewhere() {
        fallback_.play(bytes_);
        elsewhere_ = true;
    }

    MemoryPlayer fallback_;
    bool elsewhere_ = false;
    std::string bytes_;
    Wave wave_;
    HWAVEOUT device_ = nullptr;
    std::vector<char> format_;
    WAVEHDR header_{};
    bool prepared_ = false;
};

// The MCI wave audio device: close, open and play, as the control has always done.
class MciPlayer : public CuePlayer {
public:
    ~MciPlayer() override { close(); }
    void stop() override { send(L"stop rovedavucue"); }
    void close() override { send(L"close rovedavucue"); }
    void open(const std::wstring& fileName) override {
        const std::wstring path = pathOf(fileName);
        if (!path.empty())
            send(L"open \"" + path + L"\" type waveaudio alias rovedavucue");
    }
    void sound() override { send(L"play rovedavucue from 0"); }

private:
    static void send(const std::wstring& command) {
        mciSendStringW(command.c_str(), nullptr, 0, nullptr);
    }
    // A file in the current folder, else the built-in cue written once to a temporary file.
    std::wstring pathOf(const std::wstring& fileName) {
        if (GetFileAttributesW(fileName.c_str()) != INVALID_FILE_ATTRIBUTES) {
            wchar_t full[MAX_PATH];
            if (GetFullPathNameW(fileName.c_str(), MAX_PATH, full, nullptr) != 0)
                return full;
        }
        const std::string bytes = builtInBytes(builtInCue(fileName));
        if (bytes.empty())
            return {};
        wchar_t folder[MAX_PATH];
        if (GetTempPathW(MAX_PATH, folder) == 0)
            return {};
        const std::wstring path = std::wstring(folder) + L"rovedavu-" + lower(fileName);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return {};
        DWORD written = 0;
        const bool whole =
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
        CloseHandle(file);
        return whole ? path : std::wstring();
    }
};

std::unique_ptr<CuePlayer> makePlayer(PlayerKind kind) {
    switch (kind) {
        case PlayerKind::Memory:
            return std::make_unique<MemoryPlayer>();
        case PlayerKind::Mci:
            return std::make_unique<MciPlayer>();
        case PlayerKind::WaveOut:
            break;
    }
    return std::make_unique<WaveOutPlayer>();
}

}  // namespace

PlayerKind chosenPlayer() {
    wchar_t value[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"ROVEDAVU_CUE_PLAYER", value, 16);
    const std::wstring name = length > 0 && length < 16 ? lower(value) : std::wstring();
    if (name == L"mci")
        return PlayerKind::Mci;
    if (name == L"memory")
        return PlayerKind::Memory;
    return PlayerKind::WaveOut;
}

std::string cueBytes(const std::wstring& fileName) {
    std::string bytes = fileBytes(fileName);
    if (bytes.empty())
        bytes = builtInBytes(builtInCue(fileName));
    return bytes;
}

SoundControl::SoundControl(PlayerKind kind) : kind_(kind) {}

void SoundControl::prepare() {
    const std::lock_guard lock(mutex_);
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

SoundControl::~SoundControl() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
        commands_.clear();
    }
    wake_.notify_one();
    if (thread_.joinable())
        thread_.join();
}

void SoundControl::setCommand(const std::u16string& command) {
    const std::wstring name = lower(wide(command));
    if (name == L"stop") {
        post([](CuePlayer& player) { player.stop(); });
    } else if (name == L"close") {
        post([](CuePlayer& player) { player.close(); });
    } else if (name == L"open") {
        post([file = fileName_](CuePlayer& player) { player.open(file); });
    } else if (name == L"sound") {
        post([](CuePlayer& player) { player.sound(); });
    }
}

void SoundControl::setFileName(const std::u16string& fileName) {
    fileName_ = wide(fileName);
}

void SoundControl::post(std::function<void(CuePlayer&)> command) {
    {
        const std::lock_guard lock(mutex_);
        commands_.push_back(std::move(command));
        if (!thread_.joinable())
            thread_ = std::thread([this] { run(); });
    }
    wake_.notify_one();
}

void SoundControl::run() {
    const std::unique_ptr<CuePlayer> player = makePlayer(kind_);
    for (;;) {
        std::function<void(CuePlayer&)> command;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return ending_ || !commands_.empty(); });
            if (ending_)
                return;
            command = std::move(commands_.front());
            commands_.pop_front();
        }
        command(*player);
    }
}

}  // namespace win
