#pragma once

#include <QImage>
#include <QString>

// What the text view needs from whoever converted: the selected part of the source picture at 1:1
// (picture colours are painted with it; a null image when there is none) and the picture's path
// (Save as proposes its name).
class SelectionPictureProvider {
public:
    virtual ~SelectionPictureProvider() = default;
    virtual QImage selectionPicture() const = 0;
    virtual QString pictureFileName() const { return QString(); }
};
