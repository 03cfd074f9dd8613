#pragma once
// What the program's icon in the tray shows, written here alone: the
// program's picture and name, automatic checking off, and, while the main
// window is minimised, the message counts of the checked accounts with one
// account's count in the icon at a time.
#include <cstdint>
#include <functional>

#include "platform/ui/form.h"
#include "platform/ui/image_list.h"

namespace forms {

class TrayStatus {
public:
    // window is the main window, whose icon the tray shows; trayIcons its
    // tray pictures (forms::PictureSet::TrayIcons).
    TrayStatus(vb::Form& window, vb::ImageList& trayIcons);
    TrayStatus(const TrayStatus&) = delete;
    TrayStatus& operator=(const TrayStatus&) = delete;

    // The icon goes into the tray at load with the program's picture and
    // name, its mouse messages going to mouse, and leaves it at shutdown.
    void Add(std::function<void(int message)> mouse);
    void Remove();

    // The program's picture and name (the window back from the tray).
    void ShowProgram();
    // Automatic checking is off: its picture and "Auto Check is Off".
    void ShowAutoCheckOff();
    // Automatic checking was switched off: its picture now; the tip follows
    // at the next count while the window is minimised.
    void MarkAutoCheckOff();

    // While the window is minimised: the tip sums the messages (or the new
    // ones) of the checked and connected accounts, and the icon shows the
    // count of one enabled, checked account in its colour, the next one on
    // the next call. With automatic checking off the icon and tip say so
    // instead. Called every second by the clock and the check timers.
    void ShowCounts();

private:
    vb::Form& window_;
    vb::ImageList& trayIcons_;
    // The account whose count the icon shows next (1 to the count).
    int16_t mTrayRotation = 1;
};

}  // namespace forms
