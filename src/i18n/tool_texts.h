#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "i18n/language.h"

namespace zelvor::i18n {

// The texts of the tools around the parameter pages: compare, history, ride
// logs and their tuning, the log view, the map graph. Each holds Qt's "%1"
// style places where the caller puts numbers and names.
#define ZELVOR_TOOL_TEXT_KEYS(X) \
    X(CompareTitle)              \
    X(CompareColumnField)        \
    X(CompareColumnThis)         \
    X(CompareColumnReference)    \
    X(CompareTake)               \
    X(CompareTakeHint)           \
    X(CompareTakeAll)            \
    X(CompareTakeAllHint)        \
    X(CompareClose)              \
    X(CompareCloseHint)          \
    X(CompareSame)               \
    X(CompareOneDifference)      \
    X(CompareDifferences)        \
    X(CompareOtherPage)          \
    X(CompareCellPlace)          \
    X(CompareUnitName)           \
    X(DriftOneChange)            \
    X(DriftChanges)              \
    X(DriftHint)                 \
    X(HistoryTitle)              \
    X(HistoryAllUnits)           \
    X(HistoryUnit)               \
    X(HistoryRestore)            \
    X(HistoryCompare)            \
    X(HistoryExport)             \
    X(HistoryClose)              \
    X(HistoryWritten)            \
    X(HistoryCorrected)          \
    X(HistoryNotKept)            \
    X(HistoryColumnTime)         \
    X(HistoryColumnEvent)        \
    X(HistoryColumnUnit)         \
    X(HistoryColumnFile)         \
    X(MarkerTitle)               \
    X(MarkerComment)             \
    X(MarkerNoComment)           \
    X(MarkerHelp)                \
    X(LogTitle)                  \
    X(LogTitleNamed)             \
    X(LogPlay)                   \
    X(LogPause)                  \
    X(LogPlayHint)               \
    X(LogLive)                   \
    X(LogLiveHint)               \
    X(LogHelp)                   \
    X(LogRows)                   \
    X(LogPosition)               \
    X(RideFolderFailed)          \
    X(RideCannotRecord)          \
    X(RideStopped)               \
    X(RideRecorded)              \
    X(RideRecording)             \
    X(RideStopFirst)             \
    X(RideLogUnreadable)         \
    X(RideNoLog)                 \
    X(RideRecordingSuffix)       \
    X(RideLogCount)              \
    X(RideSelectFirst)           \
    X(RideNothingToApply)        \
    X(RidePanelTitle)            \
    X(RideViewChange)            \
    X(RideLessFuel)              \
    X(RideMoreFuel)              \
    X(RideViewLean)              \
    X(RideRich)                  \
    X(RideLean)                  \
    X(RideViewHits)              \
    X(RideFew)                   \
    X(RideEnough)                \
    X(RideOptionHint)            \
    X(RideColourBy)              \
    X(RideLock)                  \
    X(RideUnlock)                \
    X(RideLockHint)              \
    X(RideApplySelection)        \
    X(RideApplyAll)              \
    X(RideApplyAllHint)          \
    X(RideSummary)               \
    X(RideLeftOut)               \
    X(RideSettingCoolant)        \
    X(RideSettingSkip)           \
    X(RideSettingThrottleRate)   \
    X(RideSettingDelay)          \
    X(RideSettingHits)           \
    X(RideSettingMeasurable)     \
    X(RideSettingTarget)         \
    X(RideSettingStep)           \
    X(RideSettingThrottleUnit)   \
    X(RideCellFigures)           \
    X(RideNoSamples)             \
    X(RideTooFewHits)            \
    X(RideNotMeasurable)         \
    X(RideLocked)                \
    X(RideBalanced)              \
    X(RideSuggested)             \
    X(RideLockedNoSamples)       \
    X(RideChangedSinceLog)       \
    X(GraphTitle)                \
    X(GraphSelected)             \
    X(GraphEngine)               \
    X(GraphAll)                  \
    X(GraphAdvance)              \
    X(GraphInjectionMs)          \
    X(GraphInjectionPercent)     \
    X(GridShadeHint)             \
    X(GridGraphHint)             \
    X(SimulatorFailed)           \
    X(DialogNoPrinter)           \
    X(DialogOpenRideLogs)        \
    X(DialogOpenLog)             \
    X(DialogRideLogFilter)

#define ZELVOR_ENUMERATOR(name) name,
enum class ToolText : std::uint8_t { ZELVOR_TOOL_TEXT_KEYS(ZELVOR_ENUMERATOR) };
#undef ZELVOR_ENUMERATOR

#define ZELVOR_COUNT_ONE(name) +1
inline constexpr std::size_t kToolTextCount = 0 ZELVOR_TOOL_TEXT_KEYS(ZELVOR_COUNT_ONE);
#undef ZELVOR_COUNT_ONE

// The text in a language; a language byte out of range reads as English.
std::string_view toolText(ToolText key, Language language);

// The key's name as written in code ("CompareTake"), for tests and messages.
std::string_view toolTextName(ToolText key);

}  // namespace zelvor::i18n
