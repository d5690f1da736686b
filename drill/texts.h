#pragma once
// The fixed texts of the drill window, its dialogs and its files.

#include <string_view>

namespace drill::texts {

inline constexpr std::u16string_view kDivide = u"÷";
inline constexpr std::u16string_view kProblemNumberOpen = u"［もんだい";
inline constexpr std::u16string_view kProblemNumberClose = u"］";

inline constexpr std::u16string_view kRightMark = u"◎";
inline constexpr std::u16string_view kWrongMark = u"×";
inline constexpr std::u16string_view kFinishedMark = u"終";

inline constexpr std::u16string_view kDateTitle = u"－－　きょうはなんがつなんにちですか。　－－";
inline constexpr std::u16string_view kDatePrompt = u"８がつ１にちだったら、８／１といれましょう。";
inline constexpr std::u16string_view kIdTitle = u"－－　あなたのＩＤはなんですか。　－－";
inline constexpr std::u16string_view kIdPrompt = u"あなたのＩＤをいれましょう。";

inline constexpr std::u16string_view kEndPrompt = u"おわります。いいですか？";
inline constexpr std::u16string_view kEndTitle = u"ぽるねあ";

inline constexpr std::u16string_view kHistoryFailed =
    u"がくしゅうのきろくを ほぞんできませんでした。";
inline constexpr std::u16string_view kHistoryFileFailed =
    u"がくしゅうのきろくの ファイルを ほぞんできませんでした。";
inline constexpr std::u16string_view kArchiveFailed =
    u"がくしゅうのきろくの ひかえを ほぞんできませんでした。";
inline constexpr std::u16string_view kHistoryFileLabel = u"ファイル：";
inline constexpr std::u16string_view kArchiveLabel = u"ひかえ：";
inline constexpr std::u16string_view kHistoryReasonLabel = u"りゆう：";
inline constexpr std::u16string_view kSaved = u"（ほぞんしました）";

}  // namespace drill::texts
