y_global_dir = "";
y_grup_trenner = "<hr>";
y_menframe_file = "menframe.htm";
y_firstinhalt_file = "erste.htm";
y_men_frame_nr = 1
y_content_frame_nr = 2
y_menanz = 0;

function men_init() {
y_menarray = new Array(y_menanz);
}

// Menübibliothek (Testfassung)
function writemenu() {}
