#pragma once

#include <QIcon>
#include <array>

// The twelve pictures shared by the tool bars and the entry lists, indexed
// by olmira::ImageIndex. Drawn as SVG, so they stay sharp on any screen.
class ImageList {
public:
    static constexpr int kCount = 12;

    ImageList();

    // An empty icon for an index outside the list.
    const QIcon& Icon(int index) const;

private:
    std::array<QIcon, kCount> icons_;
    QIcon none_;
};
