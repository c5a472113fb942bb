#pragma once

// Run as a child process on a display of its own: the real player window and device load
// the list of the current folder, play its first entry, print "playing" once the video
// window is up, and go on until something ends the process.
inline constexpr const char *PlayUntilTheDisplayGoesOption = "--play-until-the-display-goes";
int PlayUntilTheDisplayGoes(int argc, char **argv);
