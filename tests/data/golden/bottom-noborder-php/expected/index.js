y_global_dir = "";
y_grup_trenner = "<hr>";
y_menframe_file = "navi";
y_firstinhalt_file = "erste.htm";
y_men_frame_nr = 0
y_content_frame_nr = 1
y_menanz = 1;

function men_init() {
y_menarray = new Array(y_menanz);
y_menarray[0] = new y_menrecord("&#60;i&#62;Neu&#60;/i&#62;","neu.htm",0);
}

// Menübibliothek (Testfassung)
function writemenu() {}
