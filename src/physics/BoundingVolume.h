#pragma once

class BoundingBox;
class BoundingSphere;

// Abstract collision volume; overlap tests dispatch on the other volume's kind.
class BoundingVolume {
public:
    virtual bool collideWith(BoundingBox* box) = 0;
    virtual bool collideWith(BoundingSphere* sphere) = 0;
    virtual ~BoundingVolume();
};
