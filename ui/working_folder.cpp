#include "working_folder.h"

#include "data_folder.h"

namespace ui {
namespace {

constexpr std::u16string_view kTitle = u"ぽるねあ";
constexpr std::u16string_view kUnreachable =
    u"きろくを しまう フォルダに つながりません。\nきょうの きろくは ほぞんされません。";
constexpr std::u16string_view kFolderLabel = u"フォルダ：";
constexpr std::u16string_view kReasonLabel = u"りゆう：";
constexpr std::u16string_view kNotSavedStart = u"きろくを しまう フォルダ ";
constexpr std::u16string_view kNotSavedEnd = u" に つながりませんでした。";

std::u16string str(std::u16string_view text) {
    return std::u16string(text);
}

}  // namespace

std::u16string startInWorkingFolder(drill::Dialogs& dialogs) {
    const records::WorkingFolder folder = records::workingFolder();
    const std::u16string reason = records::enterWorkingFolder(folder);
    if (reason.empty())
        return {};
    const std::u16string path = folder.path.toStdU16String();
    dialogs.showMessage(
        str(kUnreachable) + u"\n\n" + str(kFolderLabel) + path + u"\n" + str(kReasonLabel) + reason,
        str(kTitle));
    return str(kNotSavedStart) + path + str(kNotSavedEnd) + reason;
}

}  // namespace ui
