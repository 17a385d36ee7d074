/* placeholder: the stand-in's calls follow */
int varnel_standin_placeholder_ = 0;
