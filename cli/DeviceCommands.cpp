// The keyboard commands of korvana-cli: ports, connect, list, send, delete, fetch, backup,
// restore.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "ImageCommands.h"
#include "InterruptStop.h"
#include "cli/JsonText.h"
#include "cli/PrintableText.h"
#include "common/PathNames.h"
#include "common/Prompt.h"
#include "conversion/PrivateConversion.h"
#include "device/CMidiTrans.h"
#include "device/KeyboardBackup.h"
#include "device/RtMidiBackend.h"
#include "device/SongImageFormat.h"

namespace korvana::cli {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<int> ParseSlot(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int slot = std::stoi(text);
    if (slot > kMaxSlot)
        return std::nullopt;
    return slot;
}

// A port number, or the first port whose name holds the text (ignoring case).
std::optional<int> FindPort(const std::vector<MidiDevEntry>& ports, const std::string& wanted) {
    if (!wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos &&
        wanted.size() < 6) {
        const int number = std::stoi(wanted);
        if (number < static_cast<int>(ports.size()))
            return number;
        return std::nullopt;
    }
    const std::string needle = Lower(wanted);
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (!needle.empty() && Lower(ports[i].strName).find(needle) != std::string::npos)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

// Installs the chosen MIDI system and lists its ports. The link's end closes every client,
// which a JACK server needs before the process goes.
bool StartLink(CMidiTrans& link, const std::optional<std::string>& api, std::string& error) {
    auto backend = RtMidiBackend::Create(api.value_or(""), "Korvana", error);
    if (!backend)
        return false;
    link.Device().SetBackend(std::move(backend));
    link.EnumDevices();
    return true;
}

int ListPorts(CMidiDevice& device, bool json) {
    if (!json) {
        for (const MidiDevEntry& port : device.m_InDevs)
            std::printf("in %u\t%s\n", port.nId, Printable(port.strName).c_str());
        for (const MidiDevEntry& port : device.m_OutDevs)
            std::printf("out %u\t%s\n", port.nId, Printable(port.strName).c_str());
        return kExitOk;
    }
    auto list = [](const std::vector<MidiDevEntry>& ports) {
        std::string out = "[";
        for (const MidiDevEntry& port : ports) {
            if (out.size() > 1)
                out += ", ";
            out += "{\"port\": " + std::to_string(port.nId) +
                   ", \"name\": " + JsonQuoted(port.strName) + "}";
        }
        return out + "]";
    };
    std::printf("{\"in\": %s, \"out\": %s}\n", list(device.m_InDevs).c_str(),
                list(device.m_OutDevs).c_str());
    return kExitOk;
}

int ListSlots(CMidiTrans& link, bool json) {
    std::vector<std::string> names;
    if (!link.ReadDirectory(names)) {
        Prompt().Message("Connection error!");
        return kExitRefused;
    }
    if (!json) {
        for (std::size_t i = 0; i < names.size(); ++i)
            std::printf("%zu\t%s\n", i, Printable(names[i]).c_str());
        return kExitOk;
    }
    std::string out = "[";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += "{\"slot\": " + std::to_string(i) + ", \"name\": " + JsonQuoted(names[i]) + "}";
    }
    std::printf("%s]\n", out.c_str());
    return kExitOk;
}

int SendSong(CMidiTrans& link, const std::filesystem::path& file, int slot, bool verify) {
    const ConversionOutcome conversion = ConvertPrivately(file);
    conversion.ShowMessages(Prompt());
    if (!conversion.Accepted() || conversion.image.empty()) {
        for (const std::string& error : conversion.Errors())
            std::fprintf(stderr, "%s\n", Printable(error).c_str());
        std::fprintf(stderr, "%s:  File is not supported!\n", PrintablePath(file).c_str());
        return kExitUsage;
    }
    return SendImage(link, conversion.image, slot, verify, file);
}

int FetchSlot(CMidiTrans& link, int slot, const std::filesystem::path& target) {
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec))
        return UsageError(Utf8FromPath(target) + " is a folder");
    if (std::filesystem::exists(target, ec) &&
        Prompt().Ask("Replace existed file?", PromptButtons::YesNo) != PromptAnswer::Yes)
        return UsageError(Utf8FromPath(target) + " exists; nothing was fetched");
    if (!link.ReceiveFile(target, slot, kFetchTimeout)) {
        std::fprintf(stderr, "%s%s\n", PrintablePath(target.filename()).c_str(),
                     link.StopRequested() ? kFetchStoppedText : "  Upload error!");
        return kExitRefused;
    }
    return kExitOk;
}

struct Request {
    bool json = false;
    bool verify = false;
    bool exact = false;
    int slot = -1;
    std::filesystem::path file;  // FILE, OUTFILE or DIR
};

// The options each command takes after its name.
bool TakesOption(const std::string& command, const std::string& option) {
    if (option == "--json")
        return command == "ports" || command == "list" || command == "backup" ||
               command == "restore";
    if (option == "--verify")
        return command == "send" || command == "restore";
    return option == "--exact" && command == "restore";
}

// Reads the words after the command; a usage error text, or nothing when they fit.
std::optional<std::string> ParseRequest(const std::string& command,
                                        const std::vector<std::string>& args, Request& request) {
    std::vector<std::string> words;
    for (const std::string& word : args) {
        if (!TakesOption(command, word))
            words.push_back(word);
        else if (word == "--json")
            request.json = true;
        else if (word == "--verify")
            request.verify = true;
        else
            request.exact = true;
    }
    std::size_t wanted = 0;
    std::size_t slotAt = words.size();
    if (command == "send") {
        wanted = 2;
        slotAt = 1;
        if (!words.empty())
            request.file = PathFromUtf8(words[0]);
    } else if (command == "delete") {
        wanted = 1;
        slotAt = 0;
    } else if (command == "fetch") {
        wanted = 2;
        slotAt = 0;
        if (words.size() == 2)
            request.file = PathFromUtf8(words[1]);
    } else if (command == "backup" || command == "restore") {
        wanted = 1;
        if (words.size() == 1)
            request.file = PathFromUtf8(words[0]);
    }
    if (words.size() != wanted)
        return command + ": wrong number of arguments";
    if (slotAt < words.size()) {
        const std::optional<int> slot = ParseSlot(words[slotAt]);
        if (!slot)
            return "SLOT must be a number from 0 to 255, not '" + words[slotAt] + "'";
        request.slot = *slot;
    }
    return std::nullopt;
}

// The command itself, once the keyboard has answered the connect handshake.
int RunOnKeyboard(CMidiTrans& link, const std::string& command, const Request& request,
                  const std::string& name, const std::optional<std::vector<std::uint8_t>>& image,
                  const std::optional<LoadedBackup>& backup) {
    if (command == "connect") {
        std::printf("%s\n", Printable(name).c_str());
        return kExitOk;
    }
    if (command == "list")
        return ListSlots(link, request.json);
    if (command == "send")
        return image ? SendImage(link, *image, request.slot, request.verify, request.file)
                     : SendSong(link, request.file, request.slot, request.verify);
    if (command == "backup")
        return RunBackup(link, request.file, name, request.json);
    if (command == "restore")
        return RunRestore(link, *backup, {.exact = request.exact, .verify = request.verify},
                          request.json);
    if (command == "delete") {
        if (!link.DeleteSlot(static_cast<unsigned>(request.slot))) {
            std::fprintf(stderr, "korvana-cli: the keyboard did not delete slot %d\n",
                         request.slot);
            return kExitRefused;
        }
        return kExitOk;
    }
    return FetchSlot(link, request.slot, request.file);
}

}  // namespace

int RunDeviceCommand(const std::string& command, const GlobalOptions& options,
                     const std::vector<std::string>& args) {
    Request request;
    if (auto error = ParseRequest(command, args, request))
        return UsageError(*error);
    const bool needsPair = command != "ports";
    if (needsPair && (!options.inPort || !options.outPort))
        return UsageError(command + " needs --in PORT and --out PORT");
    if (command == "send") {
        std::error_code ec;
        if (!std::filesystem::is_regular_file(request.file, ec))
            return UsageError("cannot open " + Utf8FromPath(request.file));
    }
    // What can be judged without the keyboard is judged before a port is opened: a damaged
    // image or backup, or a folder that already holds something, never reach it.
    std::optional<std::vector<std::uint8_t>> image;
    if (command == "send" && HasSongImageExtension(request.file)) {
        image = ReadSongImageFile(request.file);
        if (!image)
            return kExitUsage;
    }
    if (command == "backup") {
        if (std::optional<int> refused = CheckBackupFolder(request.file))
            return *refused;
    }
    std::optional<LoadedBackup> backup;
    if (command == "restore") {
        std::string error;
        backup = LoadBackup(request.file, error);
        if (!backup) {
            std::fprintf(stderr, "korvana-cli: %s; nothing was sent\n", error.c_str());
            return kExitRefused;
        }
    }

    if (options.api && !RtMidiBackend::IsKnownApi(*options.api))
        return UsageError("unknown MIDI system '" + *options.api +
                          "' (alsa, jack, coremidi or winmm, as built in)");

    CMidiTrans link;
    const StopOnInterrupt stopOnInterrupt(link);
    link.SetLockWait(kKeyboardLockTimeout, [] {
        std::fputs("waiting for the keyboard (used by another Korvana program)\n", stderr);
    });
    std::string error;
    if (!StartLink(link, options.api, error)) {
        std::fprintf(stderr, "korvana-cli: %s\n", Printable(error).c_str());
        return kExitRefused;
    }
    CMidiDevice& device = link.Device();
    if (!needsPair)
        return ListPorts(device, request.json);

    const std::optional<int> in = FindPort(device.m_InDevs, *options.inPort);
    if (!in)
        return UsageError("no input port matches '" + *options.inPort + "'");
    const std::optional<int> out = FindPort(device.m_OutDevs, *options.outPort);
    if (!out)
        return UsageError("no output port matches '" + *options.outPort + "'");
    std::string name;
    const int status = link.ConnectDevice(*in, name, *out)
                           ? RunOnKeyboard(link, command, request, name, image, backup)
                           : kExitRefused;
    if (status != kExitOk && link.GaveUpOnLock()) {
        std::fprintf(stderr,
                     "korvana-cli: the keyboard stayed busy with another Korvana program "
                     "for %lld seconds\n",
                     static_cast<long long>(kKeyboardLockTimeout.count() / 1000));
    }
    // What Ctrl+C stopped was said where it happened; work that was done counts as done.
    if (status != kExitOk && link.StopRequested()) {
        std::fputs("korvana-cli: stopped by Ctrl+C\n", stderr);
        return kExitInterrupted;
    }
    return status;
}

}  // namespace korvana::cli
