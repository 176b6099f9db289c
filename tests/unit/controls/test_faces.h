// Ids of the face bitmaps of the controls' tests. Every face codes its pixel coordinates in its
// colour, RGB(x * 8, y * 10, kind), so a test can tell which face and which pixel it sees.
#pragma once

#define IDB_PUSH_NORMAL 301
#define IDB_PUSH_PRESSED 302
#define IDB_PUSH_HOVER 303
#define IDB_PUSH_DISABLED 304
#define IDB_PUSH_TEN 305
#define IDB_CHECK_OFF 311
#define IDB_CHECK_ON 312
#define IDB_CHECK_HOVER 313
#define IDB_CHECK_PRESSED 314
#define IDB_CHECK_DISABLED 315
#define IDB_CHECK_DISABLED_ON 316
#define IDB_MISSING 399

// The blue channel of each face.
#define FACE_PUSH_NORMAL 40
#define FACE_PUSH_PRESSED 120
#define FACE_PUSH_HOVER 160
#define FACE_PUSH_DISABLED 200
#define FACE_PUSH_TEN 60
#define FACE_CHECK_OFF 10
#define FACE_CHECK_ON 90
#define FACE_CHECK_HOVER 140
#define FACE_CHECK_PRESSED 180
#define FACE_CHECK_DISABLED 220
#define FACE_CHECK_DISABLED_ON 250
