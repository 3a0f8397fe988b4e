// The help file's topics that the game opens by context number.
#pragma once

inline constexpr int kMainWindowHelp = 41003;     // the main window (F1), the borrow dialog
inline constexpr int kBorrowButtonsHelp = 41005;  // the borrow dialog's buttons
inline constexpr int kSavedGamesHelp = 41008;     // the saved-games dialog (F1, its Help button)
inline constexpr int kCompanyHelp = 41009;        // the Company Information command
inline constexpr int kPayoffChartHelp = 41010;    // the payoff chart (F1)

// Every context number above: the help file must answer to each of them.
inline constexpr int kHelpContexts[] = {kMainWindowHelp, kBorrowButtonsHelp, kSavedGamesHelp,
                                        kCompanyHelp, kPayoffChartHelp};
