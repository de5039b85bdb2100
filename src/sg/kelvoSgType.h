#pragma once

// Node-type tag carried by every scene-graph node. The values are stable:
// triggers and the physics controller compare them.
enum kelvoSgType {
    SG_RENDER_STATE = 0,
    SG_BLEND_STATE = 1,
    SG_TEXTURE = 2,
    SG_ENTITY = 3,
    SG_SPATIAL_ENTITY = 4,
    SG_PHYS_ENTITY = 5,
    SG_GEOMETRY_MESH = 7,
    SG_PARTICLE = 8,
    SG_PARTICLE_CONTROLLER = 9,
    SG_PHYS_CONTROLLER = 10,
    SG_SPHERE_MESH = 11,
    SG_LABYRINTH = 12,
    SG_MATERIAL = 13,
    SG_PARTICLE_MESH = 14,
    SG_PLAYER = 15,
    SG_SHADER = 16,
    SG_LIGHT_SOURCE = 17
};
