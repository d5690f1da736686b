// SPDX-FileCopyrightText: The Rovedavu authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "records_support.h"

#include <grp.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace records_test {

std::string hex(const QByteArray& bytes) {
    std::string text;
    for (const char byte : bytes) {
        char buffer[4];
        std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned char>(byte));
        if (!text.empty())
            text += ' ';
        text += buffer;
    }
    return text;
}

std::vector<std::u16string> csvFields(const QByteArray& line) {
    QStringDecoder decoder("windows-31j");
    const std::u16string text = QString(decoder.decode(line)).toStdU16String();
    if (decoder.hasError())
        return {};
    std::vector<std::u16string> fields(1);
    std::size_t k = 0;
    while (k < text.size()) {
        if (text[k] == u'"' && fields.back().empty()) {
            // A quoted item runs to the next quote that is not doubled.
            ++k;
            for (;;) {
                if (k >= text.size())
                    return {};
                if (text[k] == u'"') {
                    if (k + 1 < text.size() && text[k + 1] == u'"') {
                        fields.back() += u'"';
                        k += 2;
                        continue;
                    }
                    ++k;
                    break;
                }
                fields.back() += text[k++];
            }
            if (k < text.size() && text[k] != u',')
                return {};
        } else if (text[k] == u',') {
            fields.emplace_back();
            ++k;
        } else if (text[k] == u'"') {
            return {};
        } else {
            fields.back() += text[k++];
        }
    }
    return fields;
}

drill::DrillState fullDrill(std::int16_t lastnum, std::u16string myid) {
    drill::DrillState state;
    state.lastnum = lastnum;
    state.myid = std::move(myid);
    state.mydate = u"８／１";
    for (int k = 1; k <= lastnum; ++k) {
        state.qtext[k] = u" " + QString::number(k).toStdU16String() + u"÷ 1";
        state.qtime[k] = static_cast<float>(k) + 0.3f;
        state.qmiss[k] = static_cast<std::int16_t>(k - 1);
    }
    return state;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

InDirectory::InDirectory(const QString& directory)
    : previous_(QDir::currentPath()), entered_(QDir::setCurrent(directory)) {}

InDirectory::~InDirectory() {
    QDir::setCurrent(previous_);
}

TinyFileSystem::TinyFileSystem(const QString& mountPoint, const char* options)
    : mountPoint_(QFile::encodeName(mountPoint)) {
    if (::mount("tmpfs", mountPoint_.constData(), "tmpfs", 0, options) == 0)
        mounted_ = true;
    else
        error_ = std::strerror(errno);
}

TinyFileSystem::~TinyFileSystem() {
    if (mounted_ && ::umount(mountPoint_.constData()) != 0)
        ::umount2(mountPoint_.constData(), MNT_DETACH);
}

bool TinyFileSystem::remountReadOnly() {
    return ::mount(nullptr, mountPoint_.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool runningAsRoot() {
    return ::geteuid() == 0;
}

std::optional<int> runAsNobody(const std::function<int()>& body) {
    constexpr int kNotNobody = 100;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(kNotNobody);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) >= kNotNobody)
        return std::nullopt;
    return WEXITSTATUS(status);
}

bool inContinuousIntegration() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && *ci != '\0';
}

bool fillUp(const QString& path) {
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray chunk(512, 'z');
    for (int k = 0; k < 4096 && filler.write(chunk) == chunk.size(); ++k) {
    }
    return filler.error() == QFileDevice::ResourceError;
}

}  // namespace records_test
