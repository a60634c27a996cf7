/* The program's name and version, for the code and both resource scripts; the bar's window
   class, for the code and the desktop companions that look for the bar. */
#ifndef VELMOR_VERSION_H
#define VELMOR_VERSION_H

#define VELMOR_NAME            "Velmor"
#define VELMOR_VERSION         "1.1a"      /* the about box's and the version record's text */
#define VELMOR_VERSION_NUMBERS 1,1,0,0     /* the same in the version record's numbers */
#define VELMOR_BAR_CLASS       "QxBarClass"

#endif
