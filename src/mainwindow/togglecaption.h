#pragma once

// Has the labels that caption a check box or an option say nothing of
// their own to a screen reader: the box or option takes its name from its
// label already. Without it Orca reads that text twice in flat review, and
// twice on an option, whose labelled-by it takes for the option's group.
void silenceToggleCaptions();
